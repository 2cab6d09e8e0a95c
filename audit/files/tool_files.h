#pragma once
// The files room: whole files over the system's seam, the tool's own files
// and the reading of a file by lines or in chunks. It may use the system
// layer only.
//
// Opening the tool's own files (database, reports, logs) in the directories
// saved at start, whatever directory the walk is visiting.

#include <string>

#include "system/file_system.h"

// Where the tool's files live, saved when the run starts.
struct ToolDirectories {
  std::string start;    // current directory when the run began
  std::string program;  // directory of the executable, ending with a separator
};

// Opens `name` (no directory part) with a standard fopen mode into `file`:
// a name with ".db" in the program directory first; then the start
// directory; then the fall-back directory, announced on standard error. When
// none opens, the failure is the first one other than a missing file, if
// any. Files are opened through file_system().
FsResult open_tool_file(const ToolDirectories& directories, const char* name, const char* mode,
                        FileHandle& file);

// A file being written to replace `path` whole: written under `temporary`
// beside it, then renamed over it.
struct Replacement {
  std::string path;
  std::string temporary;
  FileHandle file;
};

// Creates the temporary file of a replacement of `path`: `path` + ".tmp",
// or ".tmp2" ... ".tmp9" when an earlier one is there. A file that is there
// already is never written nor removed: it may be no file of this run's.
FsResult create_replacement(const std::string& path, Replacement& replacement);

// Creates the replacement of `name` in the first of those directories that
// takes it. A directory that fails for another reason than access ends the
// search.
FsResult open_tool_file_replacement(const ToolDirectories& directories, const char* name,
                                    Replacement& replacement);

// Syncs and closes a replacement and renames it over its file. When a
// write, the sync, the close or the rename failed, the temporary file is
// removed, the previous file stays as it was, and the failure is that step's.
FsResult commit_tool_file_replacement(Replacement replacement);

// Says on standard error that a tool file was opened in the fall-back directory.
void print_using_default_log(const std::string& path);
