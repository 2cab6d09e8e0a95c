#include "driver/walk.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "catalogue/identify.h"
#include "driver/file_system.h"
#include "driver/run_state.h"

namespace {

bool ends_with_ignoring_case(std::string_view name, std::string_view extension) {
  if (name.size() < extension.size()) return false;
  const std::string_view tail = name.substr(name.size() - extension.size());
  for (std::size_t index = 0; index < extension.size(); ++index) {
    if (std::tolower(static_cast<unsigned char>(tail[index])) !=
        std::tolower(static_cast<unsigned char>(extension[index]))) {
      return false;
    }
  }
  return true;
}

bool descends_into_directories() {
  const RunOptions& options = run_state().options;
  return options.listDirs || options.scanDirs;
}

// Returns false when the walk cannot come back to `path`; it must then stop.
bool walk_subdirectory(const std::string& path, const std::string& name) {
  const DirectoryMark parent = mark_current_directory();
  const std::string subdirectory = path + PATH_SEPARATOR + name;
  std::printf("Scanning %s%c*%s\n", subdirectory.c_str(), PATH_SEPARATOR, EXTENSIONS_2600);
  if (!change_directory(subdirectory)) return true;
  walk_directory(".");
  return return_to_parent(parent);
}

}  // namespace

bool name_has_extension(const char* extension_list, const char* name) {
  const std::string_view list = extension_list;
  std::size_t start = list.find('.');
  while (start != std::string_view::npos) {
    const std::size_t next = list.find('.', start + 1);
    const std::string_view extension = list.substr(start, next - start);
    if (ends_with_ignoring_case(name, extension)) return true;
    start = next;
  }
  return false;
}

void walk_directory(const std::string& path) {
  // The whole level is listed first: renaming moves files while the walk
  // goes on, and a listing in progress would see the folder change.
  std::vector<DirectoryEntry> entries;
  if (!file_system().list_directory(path, entries)) return;
  for (const DirectoryEntry& entry : entries) {
    if (!entry.isDirectory) {
      dispatch_file(entry.name.c_str(), entry.size);
    } else if (descends_into_directories() && !entry.isHidden) {
      if (!walk_subdirectory(path, entry.name)) return;
    }
  }
}

void dispatch_file(const char* name, std::uint64_t size) {
  DispatchState& dispatch = run_state().dispatch;
  dispatch = DispatchState{};
  if (name_has_extension(EXTENSIONS_ARCHIVE, name)) size = dispatch_archive(name);
  if (dispatch.inMemory || name_has_extension(EXTENSIONS_2600, name)) identify_image(name, size);
}
