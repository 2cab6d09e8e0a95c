#pragma once
// The archive readers' problems and their texts, in one table, and the one
// place that says them: each problem has a short line for the console and a
// technical cause for "Vald_ZIP.txt". The readers print nothing: they return
// a problem as a ZipResult, and their caller says it with zip_report. A ZIP
// archive's lines speak of a "zipfile", any other archive's of an "archive".

#include <cstdint>
#include <cstdio>
#include <string>

#include "system/file_system.h"

// The archive formats the walk looks into.
enum class ArchiveFormat { zip, sevenZip };

enum class ZipError {
  openingFile,
  seekingToEnd,
  gettingFileSize,
  emptyFile,
  readingEndRecord,
  spanningDisks,
  seekingToDirectory,
  readingDirectory,
  invalidNameLength,
  seekingToHeader,
  readingHeader,
  seekingToData,
  storedSizeDiffers,
  readingData,
  versionTooNew,
  systemUnsupported,
  inflating,
  methodUnsupported,
  encrypted,            // flag bit 0 or the AES method: never decoded
  crcMismatch,          // the data's CRC-32 is not the archive's
  localCrcMismatch,     // the local header's CRC-32 is not the directory's
  memberTooLarge,       // more data than an image may have, whatever was claimed
  sizeDiffers,          // data of another size than the directory says
  decoding,             // libarchive failed on damaged data
  decodingUnsupported,  // libarchive failed on something it does not read
  formatNotBuilt,       // a 7z archive in a build without libarchive
  tooMuchBefore,        // a 7z member behind more data than is worth unpacking
  tooManyMembers,       // a listing longer than a reader keeps
};

// What a call of an archive reader gave: success, or a problem with what its
// lines need. Read through ok(); said by zip_report.
struct [[nodiscard]] ZipResult {
  bool failed = false;
  ZipError error = ZipError::openingFile;  // the problem, when failed
  FsResult disk;               // the disk's failure under it (opening, reading), else success
  std::string cause;           // the member concerned, or the decoder's words
  std::uint32_t saidCrc = 0;   // crcMismatch: the archive's; local: the local header's
  std::uint32_t otherCrc = 0;  // crcMismatch: the data's; local: the directory's
  std::string detail;          // a line of detail for the log, when the log is open

  bool ok() const { return !failed; }
};

// A problem of the archive, not of the disk under it.
ZipResult zip_failure(ZipError error, std::string cause = {});

// A problem of the disk: `disk` (a failure) is what the lines say.
ZipResult zip_disk_failure(ZipError error, const FsResult& disk);

// A CRC-32 disagreement (crcMismatch or localCrcMismatch) of `member`.
ZipResult zip_crc_failure(ZipError error, std::string member, std::uint32_t said,
                          std::uint32_t other);

// Where the readers' problems are logged: "Vald_ZIP.txt", kept in `file`
// once open. `open` opens a tool file by name; without it problems go to the
// console only.
struct ZipLog {
  FileHandle file;
  FileHandle (*open)(const char* name) = nullptr;
  // While members of one archive are read in turn, a problem repeated for
  // every member is said once, with a count: the last problem said (its
  // first line, and its log text), and how often it came again since.
  bool collapsing = false;
  std::string lastHeading;
  std::string lastText;
  int repeats = 0;
};

// Starts reading the members of one archive in turn (see ZipLog).
void zip_begin_members(ZipLog& log);

// Says how often the last problem came again, if it did, and ends the
// collapsing: the next problem is said in full.
void zip_end_members(ZipLog& log);

// Says the problem `result` (a failure) of the archive `path` of `format`:
// "Error in zipfile <path>" and the console text on standard output, always;
// then its detail line, when the log is open already (detail never opens
// it), and "Error in zipfile <path>: <log text>" in "Vald_ZIP.txt", opened
// first if needed. When the log cannot be opened the log line is dropped and
// the next problem tries again. A problem of the disk is said with the
// system's reason.
void zip_report(ZipLog& log, ArchiveFormat format, const char* path, const ZipResult& result);
