#pragma once
// Appending records to the undo journal. Every record is flushed to the
// system as soon as it is written, so that a run killed at any instant has
// its moves on record.

#include <cstdint>
#include <cstdio>
#include <string>

#include "system/file_system.h"

#include "journal/undo_journal.h"

class JournalWriter {
 public:
  JournalWriter() = default;
  ~JournalWriter();
  JournalWriter(const JournalWriter&) = delete;
  JournalWriter& operator=(const JournalWriter&) = delete;

  // Opens `path` for appending, creating it with its first line when it is
  // missing or empty. A journal whose last line was cut short is cut back to
  // its last whole line (the cut record's change never happened). Refuses a
  // file that is not a journal (`refused`).
  FsResult open(const std::string& path);

  // Writes one record and, unless `flush` is false, flushes it with any
  // record held back before; false when that fails, and the file is then
  // cut back to its last whole record where it can be.
  bool append(const JournalRecord& record, bool flush = true);

  // Syncs the journal to the disk (unless `sync` is false) and closes it.
  // Returns false when a write, the sync or the close failed.
  bool close(bool sync = true);

  bool is_open() const { return file_ != nullptr; }

  // The first failure of the disk since open(); success while none.
  const FsResult& failure() const { return failure_; }

 private:
  bool write(const std::string& text, bool flush = true);
  FsResult give_up(const FsResult& failure);
  void remember(const FsResult& failure);

  FileHandle file_;
  FsResult failure_;
  std::int64_t size_ = 0;  // bytes of whole records in the file
};
