#pragma once
// The C streams under the real disk's FileStream, with the parts that differ
// between systems: UTF-8 paths, 64-bit positions and syncing. Only the
// system layer uses them.

#include <cstdint>
#include <cstdio>
#include <string>

#include "system/file_system.h"

// Opens the regular file at `path` (UTF-8) with a standard fopen mode into
// `file`; anything else than a regular file is refused (notRegular) without
// waiting on it, and a file opened to write is not reached through a link.
FsResult open_regular_file(const std::string& path, const char* mode, std::FILE*& file);

// Cuts `file` to `size` bytes; false when that fails.
bool truncate_file(std::FILE* file, std::int64_t size);

// fseek with 64-bit offsets on every platform; false when that fails.
bool seek_file(std::FILE* file, std::int64_t offset, int whence);

// ftell, 64-bit; -1 when it fails.
std::int64_t tell_file(std::FILE* file);

// Flushes `file` and asks the system to put its data on the disk. Returns
// false when either step fails.
bool sync_file(std::FILE* file);

// The failure a system call just left in errno, about `path`: EEXIST and
// ENOTEMPTY are alreadyExists, EACCES and EPERM accessDenied, the rest failed.
FsResult fs_failure_of_errno(const std::string& path);
