#pragma once
// The ZIP reader's problems and their texts, in one table, and the one place
// that says them: each problem has a short line for the console and a
// technical cause for "Vald_ZIP.txt". The 7z reader says its problems here too.

#include <cstdint>
#include <cstdio>
#include <string>

#include "system/file_system.h"

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
  crcMismatch,          // the data, or the two headers, disagree on the CRC-32
  memberTooLarge,       // more data than an image may have, whatever was claimed
  sizeDiffers,          // data of another size than the directory says
  decoding,             // libarchive failed on damaged data
  decodingUnsupported,  // libarchive failed on something it does not read
  formatNotBuilt,       // a 7z archive in a build without libarchive
  tooMuchBefore,        // a 7z member behind more data than is worth unpacking
};

// Where the reader logs its problems: "Vald_ZIP.txt", kept in `file` once
// open. `open` opens a tool file by name; without it problems go to the
// console only.
struct ZipLog {
  FileHandle file;
  FileHandle (*open)(const char* name) = nullptr;
  // While members of one archive are read in turn, a problem repeated for
  // every member is said once, with a count: the last problem said, and how
  // often it came again since.
  bool collapsing = false;
  std::string lastPath;
  std::string lastText;
  int repeats = 0;
};

// Starts reading the members of one archive in turn (see ZipLog).
void zip_begin_members(ZipLog& log);

// Says how often the last problem came again, if it did, and ends the
// collapsing: the next problem is said in full.
void zip_end_members(ZipLog& log);

// Prints "Error in zipfile <path>" and the console text on standard output,
// always, then appends "Error in zipfile <path>: <log text>" to
// "Vald_ZIP.txt", opening it first if needed. When the log cannot be opened
// the log line is dropped and the next error tries again.
void zip_report_error(ZipLog& log, const char* logText, const char* consoleText, const char* path);

// zip_report_error with the texts of `error`.
void zip_report(ZipLog& log, ZipError error, const char* path);

// zip_report_error with the console text of `error` and its log text
// followed by a space and `cause` (a member's name, libarchive's reason).
void zip_report_cause(ZipLog& log, ZipError error, const char* path, const char* cause);

// Reports crcMismatch for `member`: "CRC mismatch in NAME (archive says
// 5bf3e8a7, data is c74d196b)".
void zip_report_crc_mismatch(ZipLog& log, const char* path, const char* member,
                             std::uint32_t archiveSays, std::uint32_t dataIs);

// Reports crcMismatch between the local header and the directory of `member`.
void zip_report_local_crc_mismatch(ZipLog& log, const char* path, const char* member,
                                   std::uint32_t localSays, std::uint32_t directorySays);

// Reports a read of the archive that the system failed: the archive may be
// whole, the disk is not.
void zip_report_read_failure(ZipLog& log, const char* path, const FsResult& failure);

// Appends one printf-style line of detail to "Vald_ZIP.txt", only when the
// log is already open: detail never opens it.
void zip_log_detail(ZipLog& log, const char* format, ...) __attribute__((format(printf, 2, 3)));
