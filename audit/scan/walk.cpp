#include "scan/walk.h"

#include <vector>

#include "run/failure_messages.h"
#include "run/run_state.h"
#include "scan/archive_dispatch.h"
#include "scan/identify.h"
#include "scan/scan_messages.h"
#include "scan/walk_read_ahead.h"
#include "system/file_system.h"

namespace {

bool descends_into_directories() {
  const RunOptions& options = run_state().options;
  return options.listDirs || options.scanDirs;
}

// Returns false when the walk cannot come back to `path`; it must then stop.
bool walk_subdirectory(const std::string& path, const std::string& name) {
  const DirectoryMark parent = mark_current_directory();
  const std::string subdirectory = path + PATH_SEPARATOR + name;
  print_scanning(subdirectory);
  if (!change_directory(subdirectory)) return true;
  walk_directory(".");
  return return_to_parent(parent);
}

}  // namespace

void walk_directory(const std::string& path) {
  // The whole level is listed first: renaming moves files while the walk
  // goes on, and a listing in progress would see the folder change.
  std::vector<DirectoryEntry> entries;
  if (const FsResult listed = file_system().list_directory(path, entries); !listed)
    return print_cannot_list(path, listed);
  ReadAheadWindow ahead(entries);
  for (std::size_t index = 0; index < entries.size(); ++index) {
    const DirectoryEntry& entry = entries[index];
    ahead.reach(index);
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
  if (name_has_extension(EXTENSIONS_ARCHIVE, name)) {
    size = dispatch_archive(name, ArchiveFormat::zip);
  } else if (name_has_extension(EXTENSIONS_SEVEN_ZIP, name)) {
    size = dispatch_archive(name, ArchiveFormat::sevenZip);
  }
  if (dispatch.inMemory || name_has_extension(EXTENSIONS_2600, name)) identify_image(name, size);
}
