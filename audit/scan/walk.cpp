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

void walk_level(const std::string& location);

// Walks the subfolder `name` of the current folder, which lies at `location`
// (relative to the start folder). Returns false when the walk cannot come
// back; it must then stop.
bool walk_subdirectory(const std::string& location, const std::string& name) {
  const std::string entered = std::string(".") + PATH_SEPARATOR + name;
  const std::string subfolder = location + PATH_SEPARATOR + name;
  const DirectoryMark parent =
      mark_current_directory(join_path(run_state().directories.start, location));
  print_scanning(entered);
  if (const FsResult changed = change_directory(entered); !changed.ok()) {
    print_cannot_list(subfolder, changed);
    return true;
  }
  std::string& folder = run_state().found.folder;
  const std::string outer = folder;
  folder = found_file_path(outer, name, "");
  walk_level(subfolder);
  folder = outer;
  return return_to_parent(parent);
}

// One level: the current folder, which lies at `location`.
void walk_level(const std::string& location) {
  // The whole level is listed first: renaming moves files while the walk
  // goes on, and a listing in progress would see the folder change.
  std::vector<DirectoryEntry> entries;
  if (const FsResult listed = file_system().list_directory(".", entries); !listed.ok())
    return print_cannot_list(location, listed);
  ReadAheadWindow ahead(entries);
  for (std::size_t index = 0; index < entries.size(); ++index) {
    const DirectoryEntry& entry = entries[index];
    ahead.reach(index);
    if (entry.isDirectory) {
      if (descends_into_directories() && !entry.isHidden &&
          !walk_subdirectory(location, entry.name))
        return;
    } else if (!leaves_alone(entry)) {
      dispatch_file(entry.name.c_str(), entry.size);
    }
  }
}

}  // namespace

// Links and pipes are not ours to open, read or move, even when their names
// are an image's.
bool leaves_alone(const DirectoryEntry& entry) {
  if (!entry.isLink && !entry.isSpecial) return false;
  const char* name = entry.name.c_str();
  if (name_has_extension(EXTENSIONS_2600, name) || is_archive_name(name)) {
    print_left_alone(name, entry.isLink);
  }
  return true;
}

void walk_directory(const std::string& path) {
  walk_level(path);
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
