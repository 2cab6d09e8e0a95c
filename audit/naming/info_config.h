#pragma once
// The info configuration ValdInfo.cfg: groups of catalogue names, each with a
// folder, an optional tag (file extension) and whether it is wanted.

#include "run/info_groups.h"

// Resets the groups and reads ValdInfo.cfg from the program directory into
// them. A missing file is announced and leaves the table empty and not loaded;
// lines that cannot be read as groups are announced and skipped.
void load_info_config();

// Index of the first group whose pattern matches the name of catalogue entry
// `index`, or -1 (also for an index outside the catalogue).
int find_info_group(int index);

// Whether every '*'-separated piece of `pattern` occurs in `name`
// (case-sensitive, in any order).
bool info_pattern_matches(const std::string& pattern, const char* name);
