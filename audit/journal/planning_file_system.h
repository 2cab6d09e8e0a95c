#pragma once
// A file system that plans instead of acting: it answers every call from the
// disk as it is plus the folders and moves planned so far, in the way the
// real calls would answer, and changes nothing. A run made through it goes
// exactly as the real run would, without knowing. It never hands a writing
// call to the disk: files opened to write take the text and keep nothing.

#include <string>
#include <unordered_map>
#include <vector>

#include "journal/disk_view.h"
#include "system/file_system.h"

class PlanningFileSystem : public ForwardingFileSystem {
 public:
  // `disk` is only read, through list_directory, open for reading,
  // allows_changes and read_ahead (which pass through as they are), and the
  // walk's folder changes are made on it. `start`: the start folder, whole.
  explicit PlanningFileSystem(FileSystem& disk, std::string start = std::string())
      : ForwardingFileSystem(disk), view_(disk, std::move(start)) {}

  FsResult list_directory(const std::string& path, std::vector<DirectoryEntry>& entries) override;
  FsResult make_directory(const std::string& path) override;
  FsResult move_file(const std::string& from, const std::string& to) override;
  FsResult remove_directory(const std::string& path) override;
  FsResult open(const std::string& path, const char* mode, FileHandle& file,
                bool wholeReads = false) override;
  FsResult replace_file(const std::string& from, const std::string& to) override;
  FsResult remove_file(const std::string& path) override;
  FsResult sync_all(const std::string& path) override;
  bool allows_changes(const std::string& path) override;
  FsResult lock(const std::string& path, LockHandle& held) override;
  FsResult enter_directory(const std::string& name, DirectoryMark& left) override;
  FsResult leave_directory(const DirectoryMark& left, const std::string& path) override;
  FsResult change_directory(const std::string& path) override;

  // The moves planned so far.
  int planned_moves() const { return moves_; }

 private:
  bool is_folder(const std::string& key);
  bool allows_changes_at(const std::string& key);

  DiskView view_;
  std::unordered_map<std::string, bool> allowsChanges_;  // by key
  int moves_ = 0;
};
