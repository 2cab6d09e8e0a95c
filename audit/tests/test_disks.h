#pragma once
// Disks for tests, behind the tool's FileSystem interface: one that passes
// every call to the real disk (tests override what they refuse or watch),
// and one held in memory that counts its calls and can fail the n-th call
// of a kind.

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <iterator>
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
  LockStatus lock(const std::string& path, LockHandle& held) override {
    return disk_.lock(path, held);
  }
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
  close,  // of a file opened to write
  lock,
  readAhead,  // one for each file hinted
};
inline constexpr int DISK_CALL_KINDS = 15;

// The kind's name, for test messages.
const char* disk_call_name(DiskCall kind);

// Whether a call of this kind changes what the disk holds.
bool is_writing_call(DiskCall kind);

// A disk in memory. Paths are compared as given (with '/' for the native
// separator), less a leading "./" or the root (see set_root); a file's
// folder is the text before its last '/', "" for the top. Folders exist when made or when a file is
// put in them. A call that fails leaves its error in errno, as the real disk does.
class MemoryFileSystem : public FileSystem {
 public:
  // Paths under `root` (an absolute folder) name the top folder "", so that
  // the current directory and the run's start folder are one.
  void set_root(const std::string& root) {
    root_ = root;
    std::replace(root_.begin(), root_.end(), PATH_SEPARATOR, '/');
  }
  void put(const std::string& path, const std::string& bytes);
  void put_folder(const std::string& path);
  bool has(const std::string& path) const;
  std::string bytes(const std::string& path) const;
  const std::map<std::string, std::string>& files() const { return files_; }

  // Makes the n-th call (from 1) of `kind` fail with `error`; 0 fails none.
  // A lock that fails with EWOULDBLOCK is busy.
  void fail(DiskCall kind, int n, int error = EIO);
  int calls(DiskCall kind) const { return counts_[static_cast<int>(kind)]; }
  void reset_calls() { std::fill(std::begin(counts_), std::end(counts_), 0); }
  int writing_calls() const;
  // The path of the call that failed; empty while none has.
  const std::string& failed_path() const { return failedPath_; }

  bool list_directory(const std::string& path, std::vector<DirectoryEntry>& entries) override;
  FileHandle open(const std::string& path, const char* mode, bool wholeReads = false) override;
  FsStatus make_directory(const std::string& path) override;
  FsStatus move_file(const std::string& from, const std::string& to) override;
  FsStatus remove_directory(const std::string& path) override;
  bool replace_file(const std::string& from, const std::string& to) override;
  bool remove_file(const std::string& path) override;
  bool allows_changes(const std::string& path) override;
  LockStatus lock(const std::string& path, LockHandle& held) override;
  void read_ahead(const std::vector<ReadAheadFile>& files) override;

  // Counts a call of `kind` on `path`; false, with errno set, when it is
  // the one to fail.
  bool count(DiskCall kind, const std::string& path);

  // Lets the lock on `key` go; see lock().
  void unlock(const std::string& key, bool created);

 private:
  std::string key(const std::string& path) const;
  bool is_folder(const std::string& path) const;

  std::string root_;
  std::map<std::string, std::string> files_;
  std::set<std::string> folders_{""};
  std::set<std::string> locked_;
  int counts_[DISK_CALL_KINDS] = {};
  DiskCall failKind_ = DiskCall::list;
  int failAt_ = 0;
  int failError_ = EIO;
  std::string failedPath_;
};
