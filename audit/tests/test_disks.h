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

// Passes every call to the real disk; tests override what they refuse or watch.
class PassingFileSystem : public ForwardingFileSystem {
 public:
  PassingFileSystem() : ForwardingFileSystem(real_disk()) {}

 private:
  static FileSystem& real_disk() {
    static SystemFileSystem disk;
    return disk;
  }
};

// The result a real call gives with `status`, with the error number the
// system leaves for it (failed: nothing at the path).
FsResult result_of(FsStatus status, const std::string& path);

// Opens `path` through `disk`; nullptr when it does not open.
FileHandle open_through(FileSystem& disk, const std::string& path, const char* mode);

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
  identify,
  changeFolder,  // enter, leave or change the current folder
};
inline constexpr int DISK_CALL_KINDS = 17;

// The kind's name, for test messages.
const char* disk_call_name(DiskCall kind);

// Whether a call of this kind changes what the disk holds.
bool is_writing_call(DiskCall kind);

// A disk in memory. Paths are compared as given (with '/' for the native
// separator), less a leading "./" or the root (see set_root); a file's
// folder is the text before its last '/', "" for the top. Folders exist when made or when a file is
// put in them. A relative path is taken from the current folder. A call
// that fails says so as the real disk does.
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

  FsResult list_directory(const std::string& path, std::vector<DirectoryEntry>& entries) override;
  FsResult open(const std::string& path, const char* mode, FileHandle& file,
                bool wholeReads = false) override;
  FsResult make_directory(const std::string& path) override;
  FsResult move_file(const std::string& from, const std::string& to) override;
  FsResult remove_directory(const std::string& path) override;
  FsResult replace_file(const std::string& from, const std::string& to) override;
  FsResult remove_file(const std::string& path) override;
  FsResult sync_all(const std::string& path) override;
  bool allows_changes(const std::string& path) override;
  FsResult lock(const std::string& path, LockHandle& held) override;
  void read_ahead(const std::vector<ReadAheadFile>& files) override;
  FsResult identify(const std::string& path, FileIdentity& identity) override;
  FsResult may_replace(const std::string& path) override;
  FsResult enter_directory(const std::string& name, DirectoryMark& left) override;
  FsResult leave_directory(const DirectoryMark& left, const std::string& path) override;
  FsResult change_directory(const std::string& path) override;

  // Counts a call of `kind` on `path`; the failure when it is the one to fail.
  FsResult count(DiskCall kind, const std::string& path);

  // Lets the lock on `key` go; see lock().
  void unlock(const std::string& key, bool created);

 private:
  std::string key(const std::string& path) const;
  bool is_folder(const std::string& path) const;

  std::uint64_t identity_of(const std::string& key);

  std::string root_;
  std::string current_;  // the current folder's key
  std::map<std::string, std::string> files_;
  std::map<std::string, std::uint64_t> identities_;  // by key, made on first use
  std::uint64_t nextIdentity_ = 1;
  std::set<std::string> folders_{""};
  std::set<std::string> locked_;
  int counts_[DISK_CALL_KINDS] = {};
  DiskCall failKind_ = DiskCall::list;
  int failAt_ = 0;
  int failError_ = EIO;
  std::string failedPath_;
};
