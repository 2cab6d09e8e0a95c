#pragma once
// What a run knows of the folders it works in: each folder is listed once,
// through the file-system seam, and then kept up to date with the changes
// the run makes (or, when planning, would make). The view holds every place
// by its path from its root, the start folder unless another is named (its
// key): a path given relative is taken from the folder the walk is in, one
// given whole is cut to the part below the root; a place outside the root
// keeps its whole path. "." and "" are the root.

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "system/file_system.h"

class DiskView {
 public:
  // `start`: the start folder, whole, where the walk begins; `root`: the
  // folder the keys are given from, the start folder unless another is
  // named. Both empty when every path is given relative.
  explicit DiskView(FileSystem& disk, std::string start = std::string(),
                    std::optional<std::string> root = std::nullopt)
      : disk_(disk),
        start_(start),
        root_(root ? std::move(*root) : std::move(start)),
        rootIsStart_(root_ == start_) {}

  // The walk entered the folder `name` of its folder, or left it for its parent.
  void entered(const std::string& name);
  void left();

  // The current folder is now `path`.
  void changed_to(const std::string& path);

  // The path of `path` from the start folder, as the view holds it.
  std::string key(const std::string& path) const;

  // The path the disk reaches the place `key` by from the current folder.
  std::string disk_path(const std::string& key) const;

  // The entry at `path`, listing its folder on first use; nullptr when there
  // is none or the folder cannot be read. Valid until the next change.
  const DirectoryEntry* find(const std::string& path);

  // The same for the place whose key is `key`.
  const DirectoryEntry* find_key(const std::string& key);

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

  Folder& folder(const std::string& key);
  void fill(Folder& folder, const std::vector<DirectoryEntry>& entries);

  // Whether `path` is given whole (from the root of its disk).
  static bool is_whole(const std::string& path);

  // `whole` from `folder` when it lies in it, else `whole` itself.
  static std::string below(const std::string& folder, const std::string& whole);

  FileSystem& disk_;
  std::string start_;
  std::string root_;
  bool rootIsStart_;
  std::string here_;  // the current folder, from the start folder
  std::unordered_map<std::string, Folder> folders_;
};
