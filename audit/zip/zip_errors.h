#pragma once
// The ZIP reader's problems and their texts, in one table: each problem has a
// short line for the console and a technical cause for "Vald_ZIP.txt".

#include <cstdio>

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
};

// Where the reader logs its problems: "Vald_ZIP.txt", kept in `file` once
// open. `open` opens a tool file by name; without it problems go to the
// console only.
struct ZipLog {
  std::FILE* file = nullptr;
  std::FILE* (*open)(const char* name) = nullptr;
};

// Prints "Error in zipfile <path>" and the console text on standard output,
// always, then appends "Error in zipfile <path>: <log text>" to
// "Vald_ZIP.txt", opening it first if needed. When the log cannot be opened
// the log line is dropped and the next error tries again.
void zip_report_error(ZipLog& log, const char* logText, const char* consoleText, const char* path);

// zip_report_error with the texts of `error`.
void zip_report(ZipLog& log, ZipError error, const char* path);

// Appends one printf-style line of detail to "Vald_ZIP.txt", only when the
// log is already open: detail never opens it.
void zip_log_detail(ZipLog& log, const char* format, ...) __attribute__((format(printf, 2, 3)));
