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

class PlanningFileSystem : public FileSystem {
 public:
  // `disk` is only read, through list_directory, open for reading,
  // allows_changes and read_ahead.
  explicit PlanningFileSystem(FileSystem& disk) : disk_(disk), view_(disk) {}

  bool list_directory(const std::string& path, std::vector<DirectoryEntry>& entries) override;
  FsStatus make_directory(const std::string& path) override;
  FsStatus move_file(const std::string& from, const std::string& to) override;
  FsStatus remove_directory(const std::string& path) override;
  FileHandle open(const std::string& path, const char* mode, bool wholeReads = false) override;
  bool replace_file(const std::string& from, const std::string& to) override;
  bool remove_file(const std::string& path) override;
  bool allows_changes(const std::string& path) override;
  LockStatus lock(const std::string& path, LockHandle& held) override;
  void read_ahead(const std::vector<ReadAheadFile>& files) override;

  // The moves planned so far.
  int planned_moves() const { return moves_; }

 private:
  bool is_folder(const std::string& path);

  FileSystem& disk_;
  DiskView view_;
  std::unordered_map<std::string, bool> allowsChanges_;  // by normal path
  int moves_ = 0;
};
