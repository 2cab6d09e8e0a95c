#include "scan/copy_walk.h"

#include <string>
#include <vector>

#include "catalogue/rom_database.h"
#include "naming/copy_engine.h"
#include "naming/rename_engine.h"
#include "run/failure_messages.h"
#include "run/found_images.h"
#include "run/run_state.h"
#include "scan/file_kinds.h"
#include "scan/identify.h"
#include "scan/scan_messages.h"
#include "scan/walk.h"
#include "system/file_system.h"
#include "system/hex_digits.h"

namespace {

// Folders the copy mode writes to, at any depth, are never walked: what it
// copied there must not be copied again.
bool enters(const DirectoryEntry& entry) {
  return entry.isDirectory && !entry.isHidden && entry.name != RENAME_TARGET_DIR &&
         entry.name != DUPES_TARGET_DIR;
}

// `prefix` is "" for the start folder, else the folder's path and a separator.
void walk_folder(const std::string& prefix) {
  const std::string folder = prefix.empty() ? "." : prefix.substr(0, prefix.size() - 1);
  std::vector<DirectoryEntry> entries;
  if (const FsResult listed = file_system().list_directory(folder, entries); !listed)
    return print_cannot_list(folder, listed);
  for (const DirectoryEntry& entry : entries) {
    const std::string path = prefix + entry.name;
    if (leaves_alone(entry)) continue;
    if (!entry.isDirectory) {
      dispatch_file(path.c_str(), entry.size);
    } else if (enters(entry)) {
      print_scanning(std::string(".") + PATH_SEPARATOR + path);
      walk_folder(path + PATH_SEPARATOR);
    }
  }
}

}  // namespace

void walk_for_copy() {
  walk_folder("");
  finish_copies();
}
