#include "system/tool_files.h"

#include <cerrno>
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

void announce_fallback(const std::string& path) {
  std::fprintf(stderr, "Using default log: %s\n", path.c_str());
}

}  // namespace

FileHandle open_tool_file(const ToolDirectories& directories, const char* name, const char* mode) {
  int error = ENOENT;
  for (const ToolDirectory& directory : tool_directories(directories, name)) {
    const std::string path = join_path(directory.path, name);
    if (FileHandle file = file_system().open(path, mode)) {
      if (directory.isFallback) announce_fallback(path);
      return file;
    }
    // A file that is there but does not open outweighs its absence elsewhere.
    if (error == ENOENT) error = errno;
  }
  errno = error;
  return nullptr;
}

FileHandle open_tool_file_replacement(const ToolDirectories& directories, const char* name,
                                      std::string& temporaryPath) {
  temporaryPath.clear();
  for (const ToolDirectory& directory : tool_directories(directories, name)) {
    const std::string path = join_path(directory.path, name);
    temporaryPath = path + REPLACEMENT_SUFFIX;
    if (FileHandle file = file_system().open(temporaryPath, "wb")) {
      if (directory.isFallback) announce_fallback(path);
      return file;
    }
    // Only a folder that cannot take the file sends it to the next one:
    // after a failing disk, a second copy elsewhere would hide the first.
    if (errno != EACCES && errno != EPERM && errno != EROFS && errno != ENOENT) break;
  }
  temporaryPath.clear();
  return nullptr;
}

int commit_tool_file_replacement(FileHandle file, const std::string& temporaryPath) {
  // The data must be on disk before the new name points at it.
  bool written = file->sync();
  written = file->close() && written;
  int error = file->error();
  const std::string path =
      temporaryPath.substr(0, temporaryPath.size() - std::strlen(REPLACEMENT_SUFFIX));
  if (written) {
    if (file_system().replace_file(temporaryPath, path)) return 0;
    error = errno;
  }
  file_system().remove_file(temporaryPath);
  return error != 0 ? error : EIO;
}
