#include "journal/disk_view.h"

std::string DiskView::normal_path(const std::string& path) {
  std::size_t start = 0;
  while (path.size() - start >= 2 && path[start] == '.' && path[start + 1] == PATH_SEPARATOR)
    start += 2;
  if (path.size() - start == 1 && path[start] == '.') return std::string();
  return path.substr(start);
}

void DiskView::entered(const std::string& name) {
  here_ = here_.empty() ? name : here_ + PATH_SEPARATOR + name;
}

void DiskView::left() {
  here_ = parent_of(here_);
}

void DiskView::changed_to(const std::string& path) {
  const std::string normal = normal_path(path);
  here_ = is_whole(normal) ? below(start_, normal) : normal;
}

bool DiskView::is_whole(const std::string& path) {
  return !path.empty() &&
         (path[0] == PATH_SEPARATOR || path[0] == '/' || (path.size() >= 2 && path[1] == ':'));
}

std::string DiskView::below(const std::string& folder, const std::string& whole) {
  if (folder.empty() || whole.compare(0, folder.size(), folder) != 0) return whole;
  if (whole.size() == folder.size()) return std::string();
  if (whole[folder.size()] != PATH_SEPARATOR) return whole;
  return normal_path(whole.substr(folder.size() + 1));
}

std::string DiskView::key(const std::string& path) const {
  const std::string normal = normal_path(path);
  if (is_whole(normal)) return below(root_, normal);
  const std::string from_start =
      here_.empty() ? normal : (normal.empty() ? here_ : here_ + PATH_SEPARATOR + normal);
  if (rootIsStart_) return from_start;
  return below(root_, from_start.empty() ? start_ : join_path(start_, from_start));
}

std::string DiskView::disk_path(const std::string& key) const {
  if (is_whole(key)) return key;
  if (!rootIsStart_) return key.empty() ? root_ : join_path(root_, key);
  if (here_.empty()) return key.empty() ? std::string(".") : key;
  if (key == here_) return ".";
  if (key.compare(0, here_.size(), here_) == 0 && key.size() > here_.size() &&
      key[here_.size()] == PATH_SEPARATOR)
    return key.substr(here_.size() + 1);
  return key.empty() ? start_ : join_path(start_, key);
}

void DiskView::fill(Folder& folder, const std::vector<DirectoryEntry>& entries) {
  folder.readable = true;
  folder.entries = entries;
  folder.gone.assign(entries.size(), false);
  folder.index.clear();
  for (std::size_t at = 0; at < entries.size(); ++at) folder.index[entries[at].name] = at;
}

DiskView::Folder& DiskView::folder(const std::string& key) {
  const auto known = folders_.find(key);
  if (known != folders_.end()) return known->second;
  Folder& made = folders_[key];
  std::vector<DirectoryEntry> entries;
  made.failure = disk_.list_directory(disk_path(key), entries);
  if (made.failure.ok()) fill(made, entries);
  return made;
}

FsResult DiskView::listing_failure(const std::string& path) {
  const std::string normal = key(path);
  if (normal.empty()) return {};
  const FsResult& failure = folder(parent_of(normal)).failure;
  return failure.missing() ? FsResult{} : failure;
}

const DirectoryEntry* DiskView::find(const std::string& path) {
  return find_key(key(path));
}

const DirectoryEntry* DiskView::find_key(const std::string& normal) {
  if (normal.empty()) return nullptr;
  Folder& held = folder(parent_of(normal));
  const auto at = held.index.find(leaf_of(normal));
  if (at == held.index.end() || held.gone[at->second]) return nullptr;
  return &held.entries[at->second];
}

FsResult DiskView::list(const std::string& folderPath, std::vector<DirectoryEntry>& entries) {
  const Folder& held = folder(key(folderPath));
  if (!held.readable) return held.failure.ok() ? fs_missing(folderPath) : held.failure;
  for (std::size_t at = 0; at < held.entries.size(); ++at) {
    if (!held.gone[at]) entries.push_back(held.entries[at]);
  }
  return {};
}

void DiskView::remember(const std::string& folderPath, const std::vector<DirectoryEntry>& entries) {
  const std::string normal = key(folderPath);
  if (folders_.count(normal) == 0) fill(folders_[normal], entries);
}

void DiskView::add(const std::string& path, DirectoryEntry entry) {
  const std::string normal = key(path);
  Folder& held = folder(parent_of(normal));
  held.readable = true;
  held.failure = {};
  entry.name = leaf_of(normal);
  const auto at = held.index.find(entry.name);
  if (at != held.index.end()) {
    held.entries[at->second] = std::move(entry);
    held.gone[at->second] = false;
    return;
  }
  held.index[entry.name] = held.entries.size();
  held.entries.push_back(std::move(entry));
  held.gone.push_back(false);
}

void DiskView::remove(const std::string& path) {
  const std::string normal = key(path);
  Folder& held = folder(parent_of(normal));
  const auto at = held.index.find(leaf_of(normal));
  if (at != held.index.end()) held.gone[at->second] = true;
}
