#pragma once
// Opening the tool's own files (database, reports, logs) in the directories
// saved at start, whatever directory the walk is visiting.

#include <cstdio>

// Opens `name` (no directory part) with a standard fopen mode: a name with
// ".db" in the program directory first; then the start directory; then the
// fall-back directory, announced on standard error. Returns nullptr when none
// opens.
std::FILE* open_tool_file(const char* name, const char* mode);
