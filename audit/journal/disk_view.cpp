#include "journal/disk_view.h"

std::string DiskView::normal_path(const std::string& path) {
  std::size_t start = 0;
  while (path.compare(start, 2, std::string{'.', PATH_SEPARATOR}) == 0) start += 2;
  if (path.size() - start == 1 && path[start] == '.') return std::string();
  return path.substr(start);
}

void DiskView::fill(Folder& folder, const std::vector<DirectoryEntry>& entries) {
  folder.readable = true;
  folder.entries = entries;
  folder.gone.assign(entries.size(), false);
  folder.index.clear();
  for (std::size_t at = 0; at < entries.size(); ++at) folder.index[entries[at].name] = at;
}

DiskView::Folder& DiskView::folder(const std::string& normalFolder) {
  const auto known = folders_.find(normalFolder);
  if (known != folders_.end()) return known->second;
  Folder& made = folders_[normalFolder];
  std::vector<DirectoryEntry> entries;
  made.failure = disk_.list_directory(normalFolder.empty() ? "." : normalFolder, entries);
  if (made.failure.ok()) fill(made, entries);
  return made;
}

FsResult DiskView::listing_failure(const std::string& path) {
  const std::string normal = normal_path(path);
  if (normal.empty()) return {};
  const FsResult& failure = folder(parent_of(normal)).failure;
  return failure.missing() ? FsResult{} : failure;
}

const DirectoryEntry* DiskView::find(const std::string& path) {
  const std::string normal = normal_path(path);
  if (normal.empty()) return nullptr;
  Folder& held = folder(parent_of(normal));
  const auto at = held.index.find(leaf_of(normal));
  if (at == held.index.end() || held.gone[at->second]) return nullptr;
  return &held.entries[at->second];
}

FsResult DiskView::list(const std::string& folderPath, std::vector<DirectoryEntry>& entries) {
  const Folder& held = folder(normal_path(folderPath));
  if (!held.readable) return held.failure.ok() ? fs_missing(folderPath) : held.failure;
  for (std::size_t at = 0; at < held.entries.size(); ++at) {
    if (!held.gone[at]) entries.push_back(held.entries[at]);
  }
  return {};
}

void DiskView::remember(const std::string& folderPath, const std::vector<DirectoryEntry>& entries) {
  const std::string normal = normal_path(folderPath);
  if (folders_.count(normal) == 0) fill(folders_[normal], entries);
}

void DiskView::add(const std::string& path, DirectoryEntry entry) {
  const std::string normal = normal_path(path);
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
  const std::string normal = normal_path(path);
  Folder& held = folder(parent_of(normal));
  const auto at = held.index.find(leaf_of(normal));
  if (at != held.index.end()) held.gone[at->second] = true;
}
