#pragma once
// Making what a stream wrote survive a crash of the machine, not only of the
// program.

#include <cstdio>

// Flushes `file` and asks the system to put its data on the disk. Returns
// false when either step fails.
bool sync_file(std::FILE* file);
