#pragma once
// The groups of ValdInfo.cfg as a run keeps them: each names catalogue
// entries, a folder, an optional tag (file extension) and whether it is wanted.

#include <array>
#include <string>
#include "system/tool_file_names.h"

inline constexpr int INFO_GROUP_LIMIT = 64;
inline constexpr std::size_t INFO_TEXT_LIMIT = 99;  // pattern and directory
inline constexpr std::size_t INFO_TAG_LIMIT = 5;

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
