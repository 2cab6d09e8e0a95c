#pragma once
// Reading the undo journal back: finds the most recent run that was not
// undone and loads its folders and moves. The reader trusts nothing in the
// file: lines, runs and the records it keeps are capped whatever the file
// holds, and a run is handed out only when no line from its start to the
// end of the file is damaged and every path it names lies in the start
// folder. A last line without its end is a record whose write was cut short,
// and so a change that was never made: it is passed over.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "system/file_system.h"

// Caps on what one reading keeps in memory.
inline constexpr std::size_t JOURNAL_RUN_LIMIT = 1'000'000;    // runs in the file
inline constexpr std::size_t JOURNAL_STEP_LIMIT = 4'000'000;   // steps of the run read
inline constexpr std::size_t JOURNAL_BYTE_LIMIT = 256u << 20;  // path bytes of that run

// One change of a run, in the order it was made.
struct JournalStep {
  bool isFolder = false;   // a folder the run created, else a move made
  std::string path;        // the folder, or the file's first place
  std::string target;      // where the file went
  std::uint64_t size = 0;  // its length when it was moved
  bool isCopy = false;     // a copy made: `path` is its temporary name
  std::uint32_t crc = 0;   // a copy's CRC-32
  FileIdentity identity;   // a copy's file, when the record gives it
  bool identityKnown = false;
};

struct JournalRun {
  std::uint64_t number = 0;  // place among the runs of the file, from 1
  std::string time;
  std::string mode;
  std::vector<JournalStep> steps;
};

enum class JournalProblem {
  none,      // `run` holds the run, or `found` is false: nothing to undo
  foreign,   // the file is not an undo journal
  damaged,   // a line at or after the run's start cannot be read
  tooLarge,  // the file or the run passes the caps
  outside,   // a line of the run names a place outside the start folder
  unreadable,
};

struct JournalReading {
  JournalProblem problem = JournalProblem::none;
  std::uint64_t line = 0;  // damaged, tooLarge, outside: the line (from 1) where it shows
  bool found = false;      // a run not undone was found
  bool tornTail = false;   // the last line has no end: a record cut short, ignored
  JournalRun run;
};

// Reads `journal` from its start (it must be seekable).
JournalReading read_last_open_run(FileStream& journal);
