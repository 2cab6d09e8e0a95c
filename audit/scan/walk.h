#pragma once
// The scan room: the walk of a folder with its read-ahead, the dispatch of
// each file to the loose-image or archive path, and the identification by
// CRC-32. It may use naming, run, the catalogue, archive, zip, sniff and
// system.
//
// The directory walk and the per-file dispatch: which files are images,
// which are archives to look into, and which are ignored.

#include <cstddef>
#include <cstdint>
#include <string>

#include "scan/file_kinds.h"
#include "system/file_system.h"

// The deepest folder the walk enters, counted from the start folder; a
// folder below it is left with one line.
inline constexpr std::size_t WALK_DEPTH_LIMIT = 4096;

// What a walk enters and what it does with each file it meets.
struct WalkPlan {
  bool descends = false;       // into subfolders that are not hidden
  bool passesTargets = false;  // never into 2600Ren or 2600Dupes, at any depth
  void (*onFile)(const char* name, std::uint64_t size) = nullptr;  // the file in the current folder
};

// The walk each mode makes: the d-suffixed list and scan words descend,
// copy descends past its own target folders, the others stay in the start
// folder; every file goes to dispatch_file.
WalkPlan walk_plan_of_run();

// Walks the current folder, the start folder, as `plan` says: every file of
// a folder is handed on in listing order, and subfolders are entered as they
// come, depth first, by changing into them one level at a time, so that no
// path grows with the depth. Links and pipes are left alone. The files it
// will read next are asked for ahead (see walk_read_ahead.h). Memory grows
// with the folders' listings on the way down, not with their paths.
void walk_tree(const WalkPlan& plan);

// Decides what the file `name` of `size` bytes in the current directory is
// and hands images to the identification.
void dispatch_file(const char* name, std::uint64_t size);

// Whether the walk leaves `entry` alone: a link or a pipe is not ours to
// open, read or move, even when its name is an image's (said when it is).
bool leaves_alone(const DirectoryEntry& entry);
