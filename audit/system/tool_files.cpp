#include "system/tool_files.h"

#include <cstring>
#include <vector>

#include "system/file_system.h"

namespace {

constexpr char REPLACEMENT_SUFFIX[] = ".tmp";

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

FsResult open_tool_file_replacement(const ToolDirectories& directories, const char* name,
                                    std::string& temporaryPath, FileHandle& file) {
  temporaryPath.clear();
  FsResult failure = fs_missing(name);
  for (const ToolDirectory& directory : tool_directories(directories, name)) {
    const std::string path = join_path(directory.path, name);
    const std::string temporary = path + REPLACEMENT_SUFFIX;
    failure = file_system().open(temporary, "wb", file);
    if (failure.ok()) {
      if (directory.isFallback) print_using_default_log(path);
      temporaryPath = temporary;
      return failure;
    }
    // Only a folder that cannot take the file sends it to the next one:
    // after a failing disk, a second copy elsewhere would hide the first.
    if (!failure.denied() && !failure.missing()) break;
  }
  return failure;
}

FsResult commit_tool_file_replacement(FileHandle file, const std::string& temporaryPath) {
  // The data must be on disk before the new name points at it.
  const FsResult synced = file->sync();
  const FsResult closed = file->close();
  FsResult outcome = !synced.ok() ? synced : closed;
  if (outcome.ok()) {
    const std::string path =
        temporaryPath.substr(0, temporaryPath.size() - std::strlen(REPLACEMENT_SUFFIX));
    outcome = file_system().replace_file(temporaryPath, path);
    if (outcome.ok()) return outcome;
  }
  // The failure to report is the step above; a temporary file that cannot
  // go either is only litter beside the untouched file.
  (void)file_system().remove_file(temporaryPath);
  return outcome;
}
