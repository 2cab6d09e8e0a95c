#pragma once
// The scan room: the walk of a folder with its read-ahead, the dispatch of
// each file to the loose-image or archive path, and the identification by
// CRC-32. It may use naming, run, the catalogue, archive, zip, sniff and
// system.
//
// The directory walk and the per-file dispatch: which files are images,
// which are archives to look into, and which are ignored.

#include <cstdint>
#include <string>

#include "scan/file_kinds.h"
#include "system/file_system.h"

// Walks the current directory, which lies at `path` ("." for the start
// folder): dispatches every file and, in the list and scan modes with
// subdirectories, descends into directories that are not hidden. Links and
// pipes are left alone. The files it will read next are asked for ahead (see
// walk_read_ahead.h).
void walk_directory(const std::string& path);

// Decides what the file `name` of `size` bytes in the current directory is
// and hands images to the identification.
void dispatch_file(const char* name, std::uint64_t size);

// Whether the walk leaves `entry` alone: a link or a pipe is not ours to
// open, read or move, even when its name is an image's (said when it is).
bool leaves_alone(const DirectoryEntry& entry);
