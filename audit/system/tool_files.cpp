#include "system/tool_files.h"

#include <cstring>
#include <vector>

#include "system/file_sync.h"
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

std::FILE* open_discarding_file() {
  return std::fopen(NULL_DEVICE, "wb");
}

}  // namespace

std::FILE* open_tool_file(const ToolDirectories& directories, const char* name, const char* mode) {
  if (directories.discardWrites && mode[0] != 'r') return open_discarding_file();
  for (const ToolDirectory& directory : tool_directories(directories, name)) {
    const std::string path = join_path(directory.path, name);
    if (std::FILE* file = open_file(path, mode)) {
      if (directory.isFallback) announce_fallback(path);
      return file;
    }
  }
  return nullptr;
}

std::FILE* open_tool_file_replacement(const ToolDirectories& directories, const char* name,
                                      std::string& temporaryPath) {
  temporaryPath.clear();
  if (directories.discardWrites) return open_discarding_file();
  for (const ToolDirectory& directory : tool_directories(directories, name)) {
    const std::string path = join_path(directory.path, name);
    temporaryPath = path + REPLACEMENT_SUFFIX;
    if (std::FILE* file = open_file(temporaryPath, "wb")) {
      if (directory.isFallback) announce_fallback(path);
      return file;
    }
  }
  temporaryPath.clear();
  return nullptr;
}

bool commit_tool_file_replacement(std::FILE* file, const std::string& temporaryPath) {
  if (temporaryPath.empty()) {  // a discarded replacement: nothing to put in place
    std::fclose(file);
    return false;
  }
  // The data must be on disk before the new name points at it.
  bool written = std::ferror(file) == 0 && sync_file(file);
  written = std::fclose(file) == 0 && written;
  const std::string path =
      temporaryPath.substr(0, temporaryPath.size() - std::strlen(REPLACEMENT_SUFFIX));
  if (written && replace_file(temporaryPath, path)) return true;
  remove_file(temporaryPath);
  return false;
}
