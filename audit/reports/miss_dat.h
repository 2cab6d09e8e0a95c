#pragma once
// The fixdat: the entries the user misses as a Logiqx XML DAT, 2600Miss.dat,
// so that the gap can be taken to another ROM manager.

#include <string>
#include "system/tool_file_names.h"

// `text` with the five XML special characters written as entities.
std::string xml_escaped(const std::string& text);

// Rewrites 2600Miss.dat with the entries 2600Miss.txt lists: name, image
// name, size, CRC, and the hashes and bad-dump status where the catalogue
// gives them (the compiled-in table gives no MD5, and its images are named
// after the entry with ".bin").
// Does nothing when the file cannot be opened.
void write_miss_dat();
