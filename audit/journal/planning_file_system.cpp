#include "journal/planning_file_system.h"

#include <cstring>

namespace {

bool opens_to_write(const char* mode) {
  return mode[0] != 'r' || std::strchr(mode, '+') != nullptr;
}

}  // namespace

// The checks below come in the order the system makes them: a missing
// source or folder first, then a name in use, then permission.

bool PlanningFileSystem::is_folder(const std::string& key) {
  if (key.empty()) return true;
  const DirectoryEntry* entry = view_.find(view_.disk_path(key));
  return entry != nullptr && entry->isDirectory;
}

bool PlanningFileSystem::allows_changes_at(const std::string& key) {
  const auto known = allowsChanges_.find(key);
  if (known != allowsChanges_.end()) return known->second;
  const bool allows = inner().allows_changes(view_.disk_path(key));
  allowsChanges_[key] = allows;
  return allows;
}

FsResult PlanningFileSystem::list_directory(const std::string& path,
                                            std::vector<DirectoryEntry>& entries) {
  return view_.list(path, entries);
}

FsResult PlanningFileSystem::make_directory(const std::string& path) {
  const std::string key = view_.key(path);
  const std::string parent = parent_of(key);
  if (view_.find(path) != nullptr) return fs_already_exists(path);
  if (!is_folder(parent)) return fs_missing(path);
  if (!allows_changes_at(parent)) return fs_access_denied(path);
  DirectoryEntry folder;
  folder.isDirectory = true;
  view_.add(path, folder);
  allowsChanges_[key] = true;
  return {};
}

FsResult PlanningFileSystem::move_file(const std::string& from, const std::string& to) {
  const DirectoryEntry* source = view_.find(from);
  const std::string target_parent = parent_of(view_.key(to));
  if (source == nullptr || !is_folder(target_parent)) return fs_missing(from);
  if (view_.find(to) != nullptr) return fs_already_exists(to);
  if (!allows_changes_at(parent_of(view_.key(from))) || !allows_changes_at(target_parent)) {
    return fs_access_denied(from);
  }
  const DirectoryEntry moved = *source;
  view_.remove(from);
  view_.add(to, moved);
  ++moves_;
  return {};
}

FsResult PlanningFileSystem::remove_directory(const std::string& path) {
  std::vector<DirectoryEntry> entries;
  if (!is_folder(view_.key(path)) || !view_.list(path, entries).ok()) return fs_missing(path);
  if (!entries.empty()) return fs_already_exists(path);
  if (!allows_changes_at(parent_of(view_.key(path)))) return fs_access_denied(path);
  view_.remove(path);
  return {};
}

bool PlanningFileSystem::allows_changes(const std::string& path) {
  return allows_changes_at(view_.key(path));
}

FsResult PlanningFileSystem::enter_directory(const std::string& name, DirectoryMark& left) {
  FsResult entered = inner().enter_directory(name, left);
  if (entered.ok()) view_.entered(name);
  return entered;
}

FsResult PlanningFileSystem::leave_directory(const DirectoryMark& left, const std::string& path) {
  FsResult back = inner().leave_directory(left, path);
  if (back.ok()) view_.left();
  return back;
}

FsResult PlanningFileSystem::change_directory(const std::string& path) {
  FsResult changed = inner().change_directory(path);
  if (changed.ok()) view_.changed_to(path);
  return changed;
}

FsResult PlanningFileSystem::open(const std::string& path, const char* mode, FileHandle& file,
                                  bool wholeReads) {
  if (!opens_to_write(mode)) return inner().open(path, mode, file, wholeReads);
  file = open_collecting(nullptr);  // takes every byte, keeps none
  return {};
}

FsResult PlanningFileSystem::replace_file(const std::string&, const std::string&) {
  return {};  // the replacement kept nothing, so there is nothing to put in place
}

FsResult PlanningFileSystem::remove_file(const std::string&) {
  return {};
}

FsResult PlanningFileSystem::sync_all(const std::string&) {
  return {};  // nothing was written
}

namespace {

class PlannedLock final : public FileLock {};

}  // namespace

FsResult PlanningFileSystem::lock(const std::string&, LockHandle& held) {
  // A planned run holds no lock on the disk: it changes nothing there.
  held = std::make_unique<PlannedLock>();
  return {};
}
