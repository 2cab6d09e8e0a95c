#pragma once
// The directory walk and the per-file dispatch: which files are images,
// which are archives to look into, and which are ignored.

#include <cstdint>
#include <string>

inline constexpr char EXTENSIONS_2600[] = ".bin.a26";
inline constexpr char EXTENSIONS_ARCHIVE[] = ".zip";
inline constexpr char EXTENSIONS_EXECUTABLE[] = ".exe";

// Walks one level of `path` (the current directory, "."): dispatches every
// file and, in the list and scan modes with subdirectories, descends into
// directories that are not hidden.
void walk_directory(const std::string& path);

// Decides what the file `name` of `size` bytes in the current directory is
// and hands images to the identification.
void dispatch_file(const char* name, std::uint64_t size);

// True when `name` ends in one of the extensions of `extension_list`
// (".bin.a26"), compared without regard to case.
bool name_has_extension(const char* extension_list, const char* name);

// Looks into an archive and chooses its image (see dispatch_file). Returns
// the size to identify with; the dispatch state tells whether there is one.
std::uint64_t dispatch_archive(const char* name);
