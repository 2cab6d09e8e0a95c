#include "driver/tool_files.h"

#include <cstring>
#include <string>

#include "driver/file_system.h"
#include "driver/run_state.h"

std::FILE* open_tool_file(const char* name, const char* mode) {
  const ToolDirectories& directories = run_state().directories;
  if (std::strstr(name, ".db") != nullptr && !directories.program.empty()) {
    if (std::FILE* file = std::fopen((directories.program + name).c_str(), mode)) return file;
  }
  if (!directories.start.empty()) {
    if (std::FILE* file = std::fopen(join_path(directories.start, name).c_str(), mode)) {
      return file;
    }
  }
  const std::string fallback = fallback_directory();
  if (fallback.empty()) return nullptr;
  const std::string path = fallback + name;
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (file != nullptr) std::fprintf(stderr, "Using default log: %s\n", path.c_str());
  return file;
}
