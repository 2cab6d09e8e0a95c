#include "journal/planning_file_system.h"

#include <cerrno>
#include <cstring>

namespace {

// What a planned run writes to: it takes every byte and keeps none.
class DiscardingStream final : public FileStream {
 public:
  std::size_t read(void*, std::size_t) override { return 0; }
  bool seek(std::int64_t, int) override { return true; }
  std::int64_t tell() override { return 0; }
  bool write(const void*, std::size_t) override { return true; }
  bool flush() override { return true; }
  bool sync() override { return true; }
  int error() const override { return 0; }
  bool close() override { return true; }
};

// The status a real call would give, with its error number where it leaves one.
FsStatus answer(int error, FsStatus status) {
  errno = error;
  return status;
}

bool opens_to_write(const char* mode) {
  return mode[0] != 'r' || std::strchr(mode, '+') != nullptr;
}

}  // namespace

// The checks below come in the order the system makes them: a missing
// source or folder first, then a name in use, then permission.

bool PlanningFileSystem::is_folder(const std::string& path) {
  if (DiskView::normal_path(path).empty()) return true;
  const DirectoryEntry* entry = view_.find(path);
  return entry != nullptr && entry->isDirectory;
}

bool PlanningFileSystem::list_directory(const std::string& path,
                                        std::vector<DirectoryEntry>& entries) {
  return view_.list(path, entries);
}

FsStatus PlanningFileSystem::make_directory(const std::string& path) {
  const std::string parent = parent_of(DiskView::normal_path(path));
  if (view_.find(path) != nullptr) return answer(EEXIST, FsStatus::alreadyExists);
  if (!is_folder(parent)) return answer(ENOENT, FsStatus::failed);
  if (!allows_changes(parent)) return answer(EACCES, FsStatus::accessDenied);
  DirectoryEntry folder;
  folder.isDirectory = true;
  view_.add(path, folder);
  allowsChanges_[DiskView::normal_path(path)] = true;
  return FsStatus::ok;
}

FsStatus PlanningFileSystem::move_file(const std::string& from, const std::string& to) {
  const DirectoryEntry* source = view_.find(from);
  const std::string target_parent = parent_of(DiskView::normal_path(to));
  if (source == nullptr || !is_folder(target_parent)) return answer(ENOENT, FsStatus::failed);
  if (view_.find(to) != nullptr) return answer(EEXIST, FsStatus::alreadyExists);
  if (!allows_changes(parent_of(DiskView::normal_path(from))) || !allows_changes(target_parent)) {
    return answer(EACCES, FsStatus::accessDenied);
  }
  const DirectoryEntry moved = *source;
  view_.remove(from);
  view_.add(to, moved);
  ++moves_;
  return FsStatus::ok;
}

FsStatus PlanningFileSystem::remove_directory(const std::string& path) {
  std::vector<DirectoryEntry> entries;
  if (!is_folder(path) || !view_.list(path, entries)) return answer(ENOENT, FsStatus::failed);
  if (!entries.empty()) return answer(ENOTEMPTY, FsStatus::alreadyExists);
  if (!allows_changes(parent_of(DiskView::normal_path(path)))) {
    return answer(EACCES, FsStatus::accessDenied);
  }
  view_.remove(path);
  return FsStatus::ok;
}

bool PlanningFileSystem::allows_changes(const std::string& path) {
  const std::string normal = DiskView::normal_path(path);
  const auto known = allowsChanges_.find(normal);
  if (known != allowsChanges_.end()) return known->second;
  const bool allows = disk_.allows_changes(normal.empty() ? "." : normal);
  allowsChanges_[normal] = allows;
  return allows;
}

FileHandle PlanningFileSystem::open(const std::string& path, const char* mode, bool wholeReads) {
  if (opens_to_write(mode)) return std::make_unique<DiscardingStream>();
  return disk_.open(path, mode, wholeReads);
}

bool PlanningFileSystem::replace_file(const std::string&, const std::string&) {
  return true;  // the replacement kept nothing, so there is nothing to put in place
}

bool PlanningFileSystem::remove_file(const std::string&) {
  return true;
}

namespace {

class PlannedLock final : public FileLock {};

}  // namespace

LockStatus PlanningFileSystem::lock(const std::string&, LockHandle& held) {
  // A planned run holds no lock on the disk: it changes nothing there.
  held = std::make_unique<PlannedLock>();
  return LockStatus::held;
}

void PlanningFileSystem::read_ahead(const std::vector<ReadAheadFile>& files) {
  disk_.read_ahead(files);  // it only reads
}
