#pragma once
// What a run knows of the folders it works in: each folder is listed once,
// through the file-system seam, and then kept up to date with the changes
// the run makes (or, when planning, would make). Paths are relative to the
// current directory, as the rename engine builds them; "." and "" are the
// current directory itself.

#include <string>
#include <unordered_map>
#include <vector>

#include "system/file_system.h"

class DiskView {
 public:
  explicit DiskView(FileSystem& disk) : disk_(disk) {}

  // The entry at `path`, listing its folder on first use; nullptr when there
  // is none or the folder cannot be read. Valid until the next change.
  const DirectoryEntry* find(const std::string& path);

  // Lists `folder` as the view holds it, in the order the disk gave it and
  // with added entries after; fails as the listing of the disk failed.
  FsResult list(const std::string& folder, std::vector<DirectoryEntry>& entries);

  // Takes `entries` as the content of `folder`, when it is not held yet.
  void remember(const std::string& folder, const std::vector<DirectoryEntry>& entries);

  // Records that `path` now holds `entry` (its name is set from `path`).
  void add(const std::string& path, DirectoryEntry entry);

  // Records that `path` is gone.
  void remove(const std::string& path);

  // Why the folder holding `path` could not be listed: success when it was
  // (or is missing, which is an answer too).
  FsResult listing_failure(const std::string& path);

  // `path` without a leading "./" (repeated) and with "" for "."; views and
  // planned changes compare paths in this form.
  static std::string normal_path(const std::string& path);

 private:
  struct Folder {
    bool readable = false;
    FsResult failure;  // of the listing that failed
    std::vector<DirectoryEntry> entries;
    std::vector<bool> gone;
    std::unordered_map<std::string, std::size_t> index;
  };

  Folder& folder(const std::string& normalFolder);
  void fill(Folder& folder, const std::vector<DirectoryEntry>& entries);

  FileSystem& disk_;
  std::unordered_map<std::string, Folder> folders_;
};
