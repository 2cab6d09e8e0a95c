#include "test_disks.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

std::string parent_folder(const std::string& key) {
  const std::size_t slash = key.rfind('/');
  return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

std::string leaf_name(const std::string& key) {
  const std::size_t slash = key.rfind('/');
  return slash == std::string::npos ? key : key.substr(slash + 1);
}

// A file of a MemoryFileSystem, open; writes reach the disk at each write,
// as an unbuffered stream's would.
class MemoryStream final : public FileStream {
 public:
  MemoryStream(MemoryFileSystem& disk, std::string& bytes, bool appends)
      : disk_(disk), bytes_(bytes), appends_(appends) {}

  std::size_t read(void* buffer, std::size_t count) override {
    if (!disk_.count(DiskCall::read)) return fail(), 0;
    const std::size_t left = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
    const std::size_t got = std::min(count, left);
    std::memcpy(buffer, bytes_.data() + position_, got);
    position_ += got;
    return got;
  }
  bool seek(std::int64_t offset, int whence) override {
    if (!disk_.count(DiskCall::seek)) return false;
    const std::int64_t base = whence == SEEK_SET   ? 0
                              : whence == SEEK_CUR ? static_cast<std::int64_t>(position_)
                                                   : static_cast<std::int64_t>(bytes_.size());
    if (base + offset < 0) return false;
    position_ = static_cast<std::size_t>(base + offset);
    return true;
  }
  std::int64_t tell() override { return static_cast<std::int64_t>(position_); }
  bool write(const void* data, std::size_t count) override {
    if (!disk_.count(DiskCall::write)) return fail(), false;
    if (appends_) position_ = bytes_.size();
    if (bytes_.size() < position_ + count) bytes_.resize(position_ + count);
    std::memcpy(bytes_.data() + position_, data, count);
    position_ += count;
    return true;
  }
  bool flush() override { return !failed_; }
  bool sync() override {
    if (!disk_.count(DiskCall::sync)) return fail(), false;
    return !failed_;
  }
  bool error() const override { return failed_; }
  bool close() override { return !failed_; }

 private:
  void fail() { failed_ = true; }

  MemoryFileSystem& disk_;
  std::string& bytes_;
  bool appends_;
  std::size_t position_ = 0;
  bool failed_ = false;
};

}  // namespace

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
      return true;
    default:
      return false;
  }
}

std::string MemoryFileSystem::key(const std::string& path) {
  std::string key = path;
  while (key.starts_with("./")) key.erase(0, 2);
  if (key == ".") key.clear();
  while (!key.empty() && key.back() == '/') key.pop_back();
  return key;
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
  errno = error;
}

int MemoryFileSystem::writing_calls() const {
  int total = 0;
  for (int kind = 0; kind < DISK_CALL_KINDS; ++kind) {
    if (is_writing_call(static_cast<DiskCall>(kind))) total += counts_[kind];
  }
  return total;
}

bool MemoryFileSystem::count(DiskCall kind) {
  const int n = ++counts_[static_cast<int>(kind)];
  return !(kind == failKind_ && n == failAt_);
}

bool MemoryFileSystem::list_directory(const std::string& path,
                                      std::vector<DirectoryEntry>& entries) {
  if (!count(DiskCall::list) || !is_folder(path)) return false;
  const std::string folder = key(path);
  for (const std::string& sub : folders_) {
    if (!sub.empty() && parent_folder(sub) == folder) {
      entries.push_back({leaf_name(sub), true, leaf_name(sub)[0] == '.', 0});
    }
  }
  for (const auto& [name, bytes] : files_) {
    if (parent_folder(name) == folder) {
      entries.push_back({leaf_name(name), false, leaf_name(name)[0] == '.', bytes.size()});
    }
  }
  return true;
}

FileHandle MemoryFileSystem::open(const std::string& path, const char* mode, bool) {
  const bool writes = mode[0] != 'r' || std::strchr(mode, '+') != nullptr;
  if (!count(writes ? DiskCall::openWrite : DiskCall::openRead)) return nullptr;
  const std::string name = key(path);
  if (!is_folder(parent_folder(name)) || is_folder(name)) return nullptr;
  if (!writes && files_.count(name) == 0) return nullptr;
  std::string& bytes = files_[name];
  if (mode[0] == 'w') bytes.clear();
  return std::make_unique<MemoryStream>(*this, bytes, mode[0] == 'a');
}

FsStatus MemoryFileSystem::make_directory(const std::string& path) {
  if (!count(DiskCall::makeFolder)) return FsStatus::failed;
  const std::string name = key(path);
  if (is_folder(name) || files_.count(name) != 0) return FsStatus::alreadyExists;
  if (!is_folder(parent_folder(name))) return FsStatus::failed;
  folders_.insert(name);
  return FsStatus::ok;
}

FsStatus MemoryFileSystem::move_file(const std::string& from, const std::string& to) {
  if (!count(DiskCall::move)) return FsStatus::failed;
  const std::string source = key(from);
  const std::string target = key(to);
  if (files_.count(source) == 0 || !is_folder(parent_folder(target))) return FsStatus::failed;
  if (files_.count(target) != 0 || is_folder(target)) return FsStatus::alreadyExists;
  files_[target] = std::move(files_[source]);
  files_.erase(source);
  return FsStatus::ok;
}

FsStatus MemoryFileSystem::remove_directory(const std::string& path) {
  if (!count(DiskCall::removeFolder)) return FsStatus::failed;
  const std::string name = key(path);
  if (!is_folder(name) || name.empty()) return FsStatus::failed;
  for (const auto& [file, bytes] : files_) {
    if (parent_folder(file) == name) return FsStatus::alreadyExists;
  }
  for (const std::string& sub : folders_) {
    if (!sub.empty() && parent_folder(sub) == name) return FsStatus::alreadyExists;
  }
  folders_.erase(name);
  return FsStatus::ok;
}

bool MemoryFileSystem::replace_file(const std::string& from, const std::string& to) {
  if (!count(DiskCall::replace) || files_.count(key(from)) == 0) return false;
  files_[key(to)] = std::move(files_[key(from)]);
  files_.erase(key(from));
  return true;
}

bool MemoryFileSystem::remove_file(const std::string& path) {
  return count(DiskCall::remove) && files_.erase(key(path)) != 0;
}

bool MemoryFileSystem::allows_changes(const std::string& path) {
  return is_folder(path);
}

void MemoryFileSystem::read_ahead(const std::vector<ReadAheadFile>& files) {
  for (std::size_t file = 0; file < files.size(); ++file) count(DiskCall::readAhead);
}
