#pragma once
// The run flags of Vald2600. The command line sets them (app/option_words);
// everything else only reads them.

#include <string>
#include <vector>

struct RunOptions {
  int list = 0;             // identify and count only, write the reports
  int listDirs = 0;         // list also descends into subdirectories
  int rename = 0;           // every identified image goes through the rename engine
  int move = 0;             // the rename engine keeps the file's own name
  int scan = 0;             // write scan records
  int scanNew = 0;          // scan records only for images not in the catalogue
  int scanDirs = 0;         // scan also descends into subdirectories
  int audit = 0;            // audit the info configuration
  int audit2 = 0;           // audit: also list long names
  int audit3 = 0;           // audit: also trace parenthesised parts
  int changes = 0;          // write the change log
  int changesAll = 1;       // log also operations that keep the name
  int changesReversed = 0;  // log lines give the old name first
  int quiet = 0;            // silence informational lines
  int dirs = 0;             // rename into the info configuration's group folders
  int deep = 0;             // scannew records every image
  int sep = 0;              // replace spaces in new names by sepChar
  char sepChar = ' ';
  int messExport = 0;  // print the catalogue as a MESS crc file
  int plan = 0;        // rename, move, copy, undo: show what would happen, change nothing
  int undo = 0;        // take back the last rename, move or copy run
  int copy = 0;        // copy catalogued images out of the tree and its archives
  std::vector<std::string> datFiles;  // the run's catalogue instead of the compiled-in table
  int fixDat = 0;                     // also write 2600Miss.dat after the reports
  int verify = 0;                     // a CRC-32 match counts only when size and hash agree
  int csv = 0;                        // also write 2600Report.csv, what changed since then
  std::string exportTarget;           // copy to=: where the copies are to be played
  std::string outFolder;              // copy out=: the folder the copies go to, instead of 2600Ren
  int oneGame = 0;                    // 1g1r: one image per game
  int palWanted = 0;                  // tv=pal: 1g1r prefers PAL images (tv=ntsc: 0)
  std::vector<std::string> unknownTargets;  // words to= or tv= gave that mean nothing

  bool operator==(const RunOptions&) const = default;
};
