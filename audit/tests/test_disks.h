#pragma once
// Disks for tests, behind the tool's FileSystem interface: one that passes
// every call to the real disk (tests override what they refuse or watch),
// and one held in memory that counts its calls and can fail the n-th call
// of a kind.

#include <cerrno>
#include <cstddef>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "system/file_system.h"

// Passes every call to the real disk.
class ForwardingFileSystem : public FileSystem {
 public:
  bool list_directory(const std::string& path, std::vector<DirectoryEntry>& entries) override {
    return disk_.list_directory(path, entries);
  }
  FileHandle open(const std::string& path, const char* mode, bool wholeReads = false) override {
    return disk_.open(path, mode, wholeReads);
  }
  FsStatus make_directory(const std::string& path) override { return disk_.make_directory(path); }
  FsStatus move_file(const std::string& from, const std::string& to) override {
    return disk_.move_file(from, to);
  }
  FsStatus remove_directory(const std::string& path) override {
    return disk_.remove_directory(path);
  }
  bool replace_file(const std::string& from, const std::string& to) override {
    return disk_.replace_file(from, to);
  }
  bool remove_file(const std::string& path) override { return disk_.remove_file(path); }
  bool allows_changes(const std::string& path) override { return disk_.allows_changes(path); }
  void read_ahead(const std::vector<ReadAheadFile>& files) override { disk_.read_ahead(files); }

 private:
  SystemFileSystem disk_;
};

// The calls a MemoryFileSystem counts, by kind.
enum class DiskCall {
  list,
  openRead,
  read,
  seek,
  openWrite,
  write,
  sync,
  move,
  makeFolder,
  removeFolder,
  replace,
  remove,
  readAhead,  // one for each file hinted
};
inline constexpr int DISK_CALL_KINDS = 13;

// Whether a call of this kind changes what the disk holds.
bool is_writing_call(DiskCall kind);

// A disk in memory. Paths are compared as given, less a leading "./"; a
// file's folder is the text before its last '/', "" for the top. Folders
// exist when made or when a file is put in them.
class MemoryFileSystem : public FileSystem {
 public:
  void put(const std::string& path, const std::string& bytes);
  bool has(const std::string& path) const;
  std::string bytes(const std::string& path) const;
  const std::map<std::string, std::string>& files() const { return files_; }

  // Makes the n-th call (from 1) of `kind` fail with `error`; 0 fails none.
  void fail(DiskCall kind, int n, int error = EIO);
  int calls(DiskCall kind) const { return counts_[static_cast<int>(kind)]; }
  int writing_calls() const;

  bool list_directory(const std::string& path, std::vector<DirectoryEntry>& entries) override;
  FileHandle open(const std::string& path, const char* mode, bool wholeReads = false) override;
  FsStatus make_directory(const std::string& path) override;
  FsStatus move_file(const std::string& from, const std::string& to) override;
  FsStatus remove_directory(const std::string& path) override;
  bool replace_file(const std::string& from, const std::string& to) override;
  bool remove_file(const std::string& path) override;
  bool allows_changes(const std::string& path) override;
  void read_ahead(const std::vector<ReadAheadFile>& files) override;

  // Counts a call of `kind`; false when it is the one to fail.
  bool count(DiskCall kind);

 private:
  static std::string key(const std::string& path);
  bool is_folder(const std::string& path) const;

  std::map<std::string, std::string> files_;
  std::set<std::string> folders_{""};
  int counts_[DISK_CALL_KINDS] = {};
  DiskCall failKind_ = DiskCall::list;
  int failAt_ = 0;
};
