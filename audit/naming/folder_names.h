#pragma once
// The names a target folder holds, as the placer sees them: listed once
// through the disk's seam and kept up to date as the run takes names, and
// compared without regard to letter case, so that no two names of a folder
// ever differ only in case (a folder copied to Windows, exFAT or FAT loses
// one of them otherwise).

#include <optional>
#include <string>
#include <string_view>

#include "naming/rename_engine.h"
#include "run/run_state.h"

// The names of the target folder `folder` (from the target root), listed
// on first use.
FoldedNames& names_in(const std::string& folder);

// A name a file may take in a target folder, looked up among the folder's
// names without regard to letter case.
class FolderName {
 public:
  explicit FolderName(const std::string& path)
      : path_(path), leaf_(leaf_start(path)), names_(names_in(folder_of(path))) {}

  // The path of the entry whose name equals this one but for letter case;
  // none when there is none.
  std::optional<std::string> holder() const { return holder_of(leaf()); }

  // The name is taken now, or free again.
  void take() { names_.emplace(leaf()); }
  void release() {
    const auto found = names_.find(leaf());
    if (found != names_.end()) names_.erase(found);
  }

  // The entry that holds this name's title (the name without its extension)
  // under another of `extensions`; none when there is none.
  template <typename Extensions>
  std::optional<std::string> title_holder(const Extensions& extensions) const {
    const std::string own = name_extension(std::string(leaf()));
    std::string other(leaf().substr(0, leaf().size() - own.size()));
    const std::size_t stem = other.size();
    for (const char* extension : extensions) {
      if (FoldedEqual()(own, extension)) continue;
      other.replace(stem, std::string::npos, extension);
      if (auto holder = holder_of(other)) return holder;
    }
    return std::nullopt;
  }

 private:
  static std::size_t leaf_start(const std::string& path) {
    const std::size_t separator = path.rfind(PATH_SEPARATOR);
    return separator == std::string::npos ? 0 : separator + 1;
  }

  static std::string folder_of(const std::string& path) {
    const std::size_t start = leaf_start(path);
    return start == 0 ? std::string(".") : path.substr(0, start - 1);
  }

  std::string_view leaf() const { return std::string_view(path_).substr(leaf_); }

  std::optional<std::string> holder_of(std::string_view name) const {
    const auto found = names_.find(name);
    if (found == names_.end()) return std::nullopt;
    return path_.substr(0, leaf_) + *found;
  }

  const std::string& path_;
  std::size_t leaf_;  // where the name begins in path_
  FoldedNames& names_;
};
