#pragma once
// A file system that keeps the undo journal of a rename or move run: it
// passes every call on, and writes a record of each move before making it
// and of each folder it created. The run's first record, and the folders
// created before it, are written at the first move, so a run that moves
// nothing leaves the journal as it was. When the journal cannot be written,
// no file is moved: a move that could not be undone is not made. A copy is
// recorded the same way before it is written, and its temporary file is
// put in place without a move record of its own.

#include <string>
#include <unordered_set>
#include <vector>

#include "journal/disk_view.h"
#include "journal/journal_writer.h"
#include "run/copy_state.h"
#include "system/file_system.h"

class JournalingFileSystem : public ForwardingFileSystem, public CopyRecorder {
 public:
  // The journal in `folder` (whole) is opened at the first move; `time` and
  // `mode` go into the run's first record. `start`: the start folder,
  // whole, where the walk begins; places are recorded by their paths from
  // `folder`.
  JournalingFileSystem(FileSystem& inner, const std::string& folder, std::string start,
                       std::string time, std::string mode);

  FsResult list_directory(const std::string& path, std::vector<DirectoryEntry>& entries) override;
  FsResult make_directory(const std::string& path) override;
  // Refused when the journal cannot take the record.
  FsResult move_file(const std::string& from, const std::string& to) override;
  FsResult enter_directory(const std::string& name, DirectoryMark& left) override;
  FsResult leave_directory(const DirectoryMark& left, const std::string& path) override;
  FsResult change_directory(const std::string& path) override;

  // Refused when the journal cannot take the record.
  FsResult record_copy(const CopyRecord& copy) override;

  // Removes the folders made while no move was made (none is on record),
  // then syncs and closes the journal. Returns false when it was opened and
  // a write, the sync or the close failed.
  bool finish();

  // Why moves were refused: success while the journal takes every record;
  // refused when the file is not a journal.
  const FsResult& refusal() const { return refusal_; }

  // The moves and copies made (each one on record).
  int moves() const { return moves_; }

  // Why the journal failed: success while it has not.
  const FsResult& failure() const { return writer_.failure(); }

 private:
  bool start_journal();
  bool record(const JournalRecord& record, bool flush = true);

  DiskView sizes_;
  JournalWriter writer_;
  std::string path_;
  JournalRecord run_;
  struct EarlyFolder {
    std::string path;  // as it was made
    std::string key;   // as it is recorded
  };
  std::vector<EarlyFolder> earlyFolders_;    // created before the first move
  std::unordered_set<std::string> copying_;  // temporary names of recorded copies
  FsResult refusal_;
  bool wroteAll_ = true;
  int moves_ = 0;
};
