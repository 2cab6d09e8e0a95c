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
  here_ = key(path);
}

std::string DiskView::key(const std::string& path) const {
  if (!start_.empty() && path.compare(0, start_.size(), start_) == 0) {
    if (path.size() == start_.size()) return std::string();
    if (path[start_.size()] == PATH_SEPARATOR) return normal_path(path.substr(start_.size() + 1));
  }
  const std::string normal = normal_path(path);
  const bool whole = !normal.empty() && (normal[0] == PATH_SEPARATOR || normal[0] == '/' ||
                                         (normal.size() >= 2 && normal[1] == ':'));
  if (here_.empty() || whole) return normal;
  return normal.empty() ? here_ : here_ + PATH_SEPARATOR + normal;
}

std::string DiskView::disk_path(const std::string& key) const {
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
