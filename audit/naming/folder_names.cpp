#include "naming/folder_names.h"

#include <vector>

#include "run/failure_messages.h"
#include "system/file_system.h"

FoldedNames& names_in(const std::string& folder) {
  auto& known = run_state().rename.foldedNames;
  const auto found = known.find(folder);
  if (found != known.end()) return found->second;
  FoldedNames& names = known[folder];
  std::vector<DirectoryEntry> entries;
  const FsResult listed = file_system().list_directory(in_target(folder), entries);
  if (!listed.ok() && !listed.missing()) print_cannot_list(folder, listed);
  for (const DirectoryEntry& entry : entries) names.insert(entry.name);
  return names;
}
