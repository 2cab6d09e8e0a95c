#include "files/tool_files.h"

#include <cstring>
#include <vector>

#include "system/file_system.h"

namespace {

constexpr char REPLACEMENT_SUFFIX[] = ".tmp";
constexpr int REPLACEMENT_ATTEMPTS = 9;

struct ToolDirectory {
  std::string path;
  bool isFallback = false;  // opening a file here is announced
};

// Where the tool's file `name` may live, in the order they are tried.
std::vector<ToolDirectory> tool_directories(const ToolDirectories& directories, const char* name) {
  std::vector<ToolDirectory> candidates;
  if (std::strstr(name, ".db") != nullptr && !directories.program.empty()) {
    candidates.push_back({directories.program});
  }
  if (!directories.start.empty()) candidates.push_back({directories.start});
  const std::string fallback = fallback_directory();
  if (!fallback.empty()) candidates.push_back({fallback, true});
  return candidates;
}

}  // namespace

FsResult open_tool_file(const ToolDirectories& directories, const char* name, const char* mode,
                        FileHandle& file) {
  FsResult failure = fs_missing(name);
  for (const ToolDirectory& directory : tool_directories(directories, name)) {
    const std::string path = join_path(directory.path, name);
    const FsResult opened = file_system().open(path, mode, file);
    if (opened.ok()) {
      if (directory.isFallback) print_using_default_log(path);
      return opened;
    }
    // A file that is there but does not open outweighs its absence elsewhere;
    // a link or pipe in the file's place ends the search, so that the file is
    // not written somewhere the user does not look.
    if (failure.missing()) failure = opened;
    if (opened.status == FsStatus::notRegular) break;
  }
  return failure;
}

FsResult create_replacement(const std::string& path, Replacement& replacement) {
  replacement = Replacement{path, std::string(), nullptr};
  if (const FsResult there = file_system().may_replace(path); !there.ok()) return there;
  FsResult created;
  for (int attempt = 1; attempt <= REPLACEMENT_ATTEMPTS; ++attempt) {
    std::string temporary = path + REPLACEMENT_SUFFIX;
    if (attempt > 1) temporary += std::to_string(attempt);
    created = file_system().open(temporary, "wbx", replacement.file);
    if (created.ok()) {
      replacement.temporary = std::move(temporary);
      return created;
    }
    if (created.status != FsStatus::alreadyExists) break;
  }
  return created;
}

FsResult open_tool_file_replacement(const ToolDirectories& directories, const char* name,
                                    Replacement& replacement) {
  FsResult failure = fs_missing(name);
  for (const ToolDirectory& directory : tool_directories(directories, name)) {
    const std::string path = join_path(directory.path, name);
    failure = create_replacement(path, replacement);
    if (failure.ok()) {
      if (directory.isFallback) print_using_default_log(path);
      return failure;
    }
    // Only a folder that cannot take the file sends it to the next one:
    // after a failing disk, a second copy elsewhere would hide the first.
    if (!failure.denied() && !failure.missing()) break;
  }
  return failure;
}

FsResult commit_tool_file_replacement(Replacement replacement) {
  // The data must be on disk before the new name points at it.
  const FsResult synced = replacement.file->sync();
  const FsResult closed = replacement.file->close();
  FsResult outcome = !synced.ok() ? synced : closed;
  const std::string& temporaryPath = replacement.temporary;
  if (outcome.ok()) {
    outcome = file_system().replace_file(temporaryPath, replacement.path);
    if (outcome.ok()) return outcome;
  }
  // The failure to report is the step above; a temporary file that cannot
  // go either is only litter beside the untouched file.
  (void)file_system().remove_file(temporaryPath);
  return outcome;
}
