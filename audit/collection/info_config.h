#pragma once
// The info configuration ValdInfo.cfg: groups of catalogue names, each with a
// folder, an optional tag (file extension) and whether it is wanted.

#include <array>
#include <string>

inline constexpr int INFO_GROUP_LIMIT = 64;
inline constexpr std::size_t INFO_TEXT_LIMIT = 99;  // pattern and directory
inline constexpr std::size_t INFO_TAG_LIMIT = 5;
inline constexpr char INFO_FILE_NAME[] = "ValdInfo.cfg";

struct InfoGroup {
  std::string pattern;    // pieces separated by '*'; empty ends the table
  std::string directory;  // ends with a separator once loaded
  std::string tag;        // extension without the dot; may be empty
  int include = 1;        // 0: the group is left out of the miss report
};

struct InfoConfig {
  std::array<InfoGroup, INFO_GROUP_LIMIT> groups;
  bool loaded = false;
};

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
