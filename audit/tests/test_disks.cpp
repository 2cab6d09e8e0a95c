#include "test_disks.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

std::string parent_folder(const std::string& key) {
  const std::size_t slash = key.rfind('/');
  return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

// The failure the real disk gives for `error`.
FsResult failure_of(int error, const std::string& path) {
  FsStatus status = FsStatus::failed;
  if (error == EACCES || error == EPERM) status = FsStatus::accessDenied;
  if (error == EEXIST || error == ENOTEMPTY) status = FsStatus::alreadyExists;
  if (error == EWOULDBLOCK) status = FsStatus::busy;
  return fs_failure(status, error, path);
}

std::string leaf_name(const std::string& key) {
  const std::size_t slash = key.rfind('/');
  return slash == std::string::npos ? key : key.substr(slash + 1);
}

// A file of a MemoryFileSystem, open. Writes are buffered as a C stream
// buffers them: the disk sees one write call for each block filled, and
// for what is held at a flush, a sync or the close.
class MemoryStream final : public FileStream {
 public:
  MemoryStream(MemoryFileSystem& disk, std::string path, std::string& bytes, bool appends,
               bool writes)
      : disk_(disk), path_(std::move(path)), bytes_(bytes), appends_(appends), writes_(writes) {}

  ~MemoryStream() override { (void)close(); }  // a test reads the failure before

  std::size_t read(void* buffer, std::size_t count) override {
    if (!push() || !call(DiskCall::read)) return 0;
    const std::size_t left = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
    const std::size_t got = std::min(count, left);
    std::memcpy(buffer, bytes_.data() + position_, got);
    position_ += got;
    return got;
  }
  FsResult seek(std::int64_t offset, int whence) override {
    if (!push() || !call(DiskCall::seek)) return failure_;
    const std::int64_t base = whence == SEEK_SET   ? 0
                              : whence == SEEK_CUR ? static_cast<std::int64_t>(position_)
                                                   : static_cast<std::int64_t>(bytes_.size());
    if (base + offset < 0) return fs_failure(FsStatus::failed, EINVAL, path_);
    position_ = static_cast<std::size_t>(base + offset);
    return {};
  }
  std::int64_t tell() override {
    return static_cast<std::int64_t>(position_ + (appends_ ? 0 : held_.size()));
  }
  FsResult write(const void* data, std::size_t count) override {
    if (!failure_.ok()) return failure_;
    held_.append(static_cast<const char*>(data), count);
    if (held_.size() >= BLOCK) push();
    return failure_;
  }
  FsResult flush() override {
    push();
    return failure_;
  }
  FsResult sync() override {
    if (push()) call(DiskCall::sync);
    return failure_;
  }
  FsResult failure() const override { return failure_; }
  // Counted as a write: it changes the file's bytes.
  FsResult truncate(std::int64_t size) override {
    if (push() && call(DiskCall::write)) {
      bytes_.resize(std::min(bytes_.size(), static_cast<std::size_t>(size)));
      position_ = std::min(position_, bytes_.size());
    }
    return failure_;
  }
  FsResult close() override {
    if (writes_ && !closed_) {
      closed_ = true;
      push();
      call(DiskCall::close);
    }
    return failure_;
  }

 private:
  static constexpr std::size_t BLOCK = 4096;

  // Hands what is held to the disk in one write call; a failed call loses it.
  bool push() {
    if (held_.empty()) return true;
    const std::string pending = std::move(held_);
    held_.clear();
    if (!call(DiskCall::write)) return false;
    if (appends_) position_ = bytes_.size();
    if (bytes_.size() < position_ + pending.size()) bytes_.resize(position_ + pending.size());
    std::memcpy(bytes_.data() + position_, pending.data(), pending.size());
    position_ += pending.size();
    return true;
  }

  bool call(DiskCall kind) {
    const FsResult counted = disk_.count(kind, path_);
    if (failure_.ok() && !counted.ok()) failure_ = counted;
    return counted.ok();
  }

  MemoryFileSystem& disk_;
  std::string path_;
  std::string& bytes_;
  bool appends_;
  bool writes_;
  std::string held_;
  bool closed_ = false;
  std::size_t position_ = 0;
  FsResult failure_;
};

class MemoryLock final : public FileLock {
 public:
  MemoryLock(MemoryFileSystem& disk, std::string key, bool created)
      : disk_(disk), key_(std::move(key)), created_(created) {}
  ~MemoryLock() override { disk_.unlock(key_, created_); }

 private:
  MemoryFileSystem& disk_;
  std::string key_;
  bool created_;
};

}  // namespace

FsResult result_of(FsStatus status, const std::string& path) {
  switch (status) {
    case FsStatus::ok:
      return {};
    case FsStatus::alreadyExists:
      return fs_failure(status, EEXIST, path);
    case FsStatus::accessDenied:
      return fs_failure(status, EACCES, path);
    case FsStatus::busy:
      return fs_failure(status, EWOULDBLOCK, path);
    case FsStatus::refused:
      return fs_failure(status, 0, path);
    default:
      return fs_failure(status, ENOENT, path);
  }
}

FileHandle open_through(FileSystem& disk, const std::string& path, const char* mode) {
  FileHandle file;
  (void)disk.open(path, mode, file);  // an empty handle tells the caller
  return file;
}

const char* disk_call_name(DiskCall kind) {
  static constexpr const char* names[] = {
      "list",  "open to read", "read",        "seek",          "open to write", "write",
      "sync",  "move",         "make folder", "remove folder", "replace",       "remove",
      "close", "lock",         "read ahead",  "identify",      "change folder"};
  static_assert(std::size(names) == DISK_CALL_KINDS, "one name for each kind of call");
  return names[static_cast<int>(kind)];
}

bool is_writing_call(DiskCall kind) {
  switch (kind) {
    case DiskCall::openWrite:
    case DiskCall::write:
    case DiskCall::sync:
    case DiskCall::move:
    case DiskCall::makeFolder:
    case DiskCall::removeFolder:
    case DiskCall::replace:
    case DiskCall::remove:
    case DiskCall::close:
    case DiskCall::lock:
      return true;
    default:
      return false;
  }
}

std::string MemoryFileSystem::key(const std::string& path) const {
  std::string key = path;
  std::replace(key.begin(), key.end(), PATH_SEPARATOR, '/');
  bool whole = false;
  if (!root_.empty() && key.starts_with(root_) &&
      (key.size() == root_.size() || key[root_.size()] == '/')) {
    key.erase(0, root_.size());
    while (key.starts_with("/")) key.erase(0, 1);
    whole = true;
  }
  // A path whole from a drive, outside the root, is no folder of the current one.
  if (key.starts_with("/") || (key.size() >= 2 && key[1] == ':')) whole = true;
  while (key.starts_with("./")) key.erase(0, 2);
  if (key == ".") key.clear();
  while (!key.empty() && key.back() == '/') key.pop_back();
  if (whole || current_.empty()) return key;
  return key.empty() ? current_ : current_ + "/" + key;
}

bool MemoryFileSystem::is_folder(const std::string& path) const {
  return folders_.count(key(path)) != 0;
}

void MemoryFileSystem::put(const std::string& path, const std::string& bytes) {
  const std::string name = key(path);
  files_[name] = bytes;
  for (std::string folder = parent_folder(name); folders_.insert(folder).second;
       folder = parent_folder(folder)) {
  }
}

void MemoryFileSystem::put_folder(const std::string& path) {
  for (std::string folder = key(path); folders_.insert(folder).second;
       folder = parent_folder(folder)) {
  }
}

bool MemoryFileSystem::has(const std::string& path) const {
  return files_.count(key(path)) != 0;
}

std::string MemoryFileSystem::bytes(const std::string& path) const {
  const auto found = files_.find(key(path));
  return found == files_.end() ? std::string() : found->second;
}

void MemoryFileSystem::fail(DiskCall kind, int n, int error) {
  failKind_ = kind;
  failAt_ = n;
  failError_ = error;
  failedPath_.clear();
}

int MemoryFileSystem::writing_calls() const {
  int total = 0;
  for (int kind = 0; kind < DISK_CALL_KINDS; ++kind) {
    if (is_writing_call(static_cast<DiskCall>(kind))) total += counts_[kind];
  }
  return total;
}

FsResult MemoryFileSystem::count(DiskCall kind, const std::string& path) {
  const int n = ++counts_[static_cast<int>(kind)];
  if (kind != failKind_ || n != failAt_) return {};
  failedPath_ = path;
  return failure_of(failError_, path);
}

FsResult MemoryFileSystem::list_directory(const std::string& path,
                                          std::vector<DirectoryEntry>& entries) {
  if (FsResult counted = count(DiskCall::list, path); !counted.ok()) return counted;
  if (!is_folder(path)) return failure_of(ENOENT, path);
  const std::string folder = key(path);
  for (const std::string& sub : folders_) {
    const bool whole = sub.starts_with("/") || (sub.size() >= 2 && sub[1] == ':');
    if (!sub.empty() && parent_folder(sub) == folder && !(folder.empty() && whole)) {
      entries.push_back({leaf_name(sub), true, leaf_name(sub)[0] == '.', 0});
    }
  }
  for (const auto& [name, bytes] : files_) {
    if (parent_folder(name) == folder) {
      entries.push_back({leaf_name(name), false, leaf_name(name)[0] == '.', bytes.size()});
    }
  }
  return {};
}

FsResult MemoryFileSystem::open(const std::string& path, const char* mode, FileHandle& file, bool) {
  file.reset();
  const bool writes = mode[0] != 'r' || std::strchr(mode, '+') != nullptr;
  if (FsResult counted = count(writes ? DiskCall::openWrite : DiskCall::openRead, path);
      !counted.ok())
    return counted;
  const std::string name = key(path);
  if (is_folder(name)) return failure_of(EISDIR, path);
  if (!is_folder(parent_folder(name))) return failure_of(ENOENT, path);
  if (!writes && files_.count(name) == 0) return failure_of(ENOENT, path);
  if (std::strchr(mode, 'x') != nullptr && files_.count(name) != 0) return failure_of(EEXIST, path);
  std::string& bytes = files_[name];
  if (mode[0] == 'w') bytes.clear();
  file = std::make_unique<MemoryStream>(*this, path, bytes, mode[0] == 'a', writes);
  return {};
}

FsResult MemoryFileSystem::make_directory(const std::string& path) {
  if (FsResult counted = count(DiskCall::makeFolder, path); !counted.ok()) return counted;
  const std::string name = key(path);
  if (is_folder(name) || files_.count(name) != 0) return failure_of(EEXIST, path);
  if (!is_folder(parent_folder(name))) return failure_of(ENOENT, path);
  folders_.insert(name);
  return {};
}

FsResult MemoryFileSystem::move_file(const std::string& from, const std::string& to) {
  if (FsResult counted = count(DiskCall::move, from); !counted.ok()) return counted;
  const std::string source = key(from);
  const std::string target = key(to);
  if (files_.count(source) == 0 || !is_folder(parent_folder(target)))
    return failure_of(ENOENT, from);
  if (files_.count(target) != 0 || is_folder(target)) return failure_of(EEXIST, to);
  files_[target] = std::move(files_[source]);
  files_.erase(source);
  identities_[target] = identity_of(source);
  identities_.erase(source);
  return {};
}

FsResult MemoryFileSystem::remove_directory(const std::string& path) {
  if (FsResult counted = count(DiskCall::removeFolder, path); !counted.ok()) return counted;
  const std::string name = key(path);
  if (!is_folder(name) || name.empty()) return failure_of(ENOENT, path);
  for (const auto& [file, bytes] : files_) {
    if (parent_folder(file) == name) return failure_of(ENOTEMPTY, path);
  }
  for (const std::string& sub : folders_) {
    if (!sub.empty() && parent_folder(sub) == name) return failure_of(ENOTEMPTY, path);
  }
  folders_.erase(name);
  return {};
}

FsResult MemoryFileSystem::replace_file(const std::string& from, const std::string& to) {
  if (FsResult counted = count(DiskCall::replace, to); !counted.ok()) return counted;
  if (files_.count(key(from)) == 0) return failure_of(ENOENT, from);
  files_[key(to)] = std::move(files_[key(from)]);
  files_.erase(key(from));
  identities_[key(to)] = identity_of(key(from));
  identities_.erase(key(from));
  return {};
}

FsResult MemoryFileSystem::remove_file(const std::string& path) {
  if (FsResult counted = count(DiskCall::remove, path); !counted.ok()) return counted;
  if (files_.erase(key(path)) == 0) return failure_of(ENOENT, path);
  identities_.erase(key(path));
  return {};
}

FsResult MemoryFileSystem::sync_all(const std::string& path) {
  return count(DiskCall::sync, path);  // what was closed is held already
}

bool MemoryFileSystem::allows_changes(const std::string& path) {
  return is_folder(path);
}

FsResult MemoryFileSystem::lock(const std::string& path, LockHandle& held) {
  if (FsResult counted = count(DiskCall::lock, path); !counted.ok()) return counted;
  const std::string name = key(path);
  if (locked_.count(name) != 0) return failure_of(EWOULDBLOCK, path);
  if (!is_folder(parent_folder(name)) || is_folder(name)) return failure_of(ENOENT, path);
  const bool created = files_.emplace(name, std::string()).second;
  locked_.insert(name);
  held = std::make_unique<MemoryLock>(*this, name, created);
  return {};
}

void MemoryFileSystem::unlock(const std::string& key, bool created) {
  const auto file = files_.find(key);
  if (created && file != files_.end() && file->second.empty()) files_.erase(file);
  locked_.erase(key);
}

std::uint64_t MemoryFileSystem::identity_of(const std::string& key) {
  const auto known = identities_.find(key);
  if (known != identities_.end()) return known->second;
  return identities_[key] = nextIdentity_++;
}

FsResult MemoryFileSystem::identify(const std::string& path, FileIdentity& identity) {
  if (FsResult counted = count(DiskCall::identify, path); !counted.ok()) return counted;
  const std::string name = key(path);
  if (files_.count(name) == 0 && !is_folder(name)) return failure_of(ENOENT, path);
  identity = {1, identity_of(name)};
  return {};
}

FsResult MemoryFileSystem::may_replace(const std::string& path) {
  if (FsResult counted = count(DiskCall::identify, path); !counted.ok()) return counted;
  if (is_folder(path)) return fs_failure(FsStatus::notRegular, EISDIR, path);
  return {};
}

FsResult MemoryFileSystem::enter_directory(const std::string& name, DirectoryMark& left) {
  if (FsResult counted = count(DiskCall::changeFolder, name); !counted.ok()) return counted;
  if (!is_folder(name)) return failure_of(ENOENT, name);
  left = {1, identity_of(current_)};
  current_ = key(name);
  return {};
}

FsResult MemoryFileSystem::leave_directory(const DirectoryMark& left, const std::string& path) {
  if (FsResult counted = count(DiskCall::changeFolder, path); !counted.ok()) return counted;
  current_ = parent_folder(current_);
  if (left.file != identity_of(current_)) return failure_of(ENOENT, path);
  return {};
}

FsResult MemoryFileSystem::change_directory(const std::string& path) {
  if (FsResult counted = count(DiskCall::changeFolder, path); !counted.ok()) return counted;
  if (!is_folder(path)) return failure_of(ENOENT, path);
  current_ = key(path);
  return {};
}

void MemoryFileSystem::read_ahead(const std::vector<ReadAheadFile>& files) {
  for (std::size_t file = 0; file < files.size(); ++file)
    (void)count(DiskCall::readAhead, files[file].path);  // a hint cannot fail
}
