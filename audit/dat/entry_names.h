#pragma once
// The naming rules of catalogue entries, one home for the compiled-in table
// (made from a software list by tools/make_rom_table) and for the DATs a run
// loads: the cleaning of characters a file name cannot hold, the name of a
// software-list entry, and the " [a1]", " [a2]" suffixes of equal names.

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_entry.h"

// `text` made safe inside a file name: ": " and " / " become " - ", ':', '/',
// '|' and '\' become '-', '"' becomes '\'', '?', '*', '<' and '>' go, control
// bytes become blanks, runs of blanks become one and the ends are trimmed.
std::string clean_name_text(std::string_view text);

// The parts of a software-list entry that make its name.
struct SoftwareNameParts {
  std::string description;  // "Title (group) (group, alt)"
  std::string year;         // "1982", "198?"; anything else is left out
  std::string publisher;    // "<unknown>" is left out
  bool badDump = false;     // adds "[b]"
};

// "Title (Year) (Publisher) (groups) [tags]", cleaned; a group equal to an
// earlier one is left out.
std::string software_entry_name(const SoftwareNameParts& parts);

// The name of a DAT entry: the game's name, or for a game of several images
// the game's name, " - " and the image's own name without its extension;
// cleaned. Empty when nothing is left.
std::string dat_entry_name(std::string_view game, std::string_view rom, bool severalRoms);

// The TV system of an entry: the software list's `compatibility` when it
// names one ("NTSC", "PAL", "SECAM"), else PAL or SECAM when a parenthesised
// group of the entry's `name` holds that word ("(PAL)", "(RC7, PAL)"), else
// NTSC.
TvSystem entry_tv_system(std::string_view compatibility, std::string_view name);

// Sorts by name without regard to ASCII case (equal ones by their bytes, then
// in their first order) and tells equal names apart with " [a1]", " [a2]", ...
void number_equal_names(std::vector<CatalogueEntry>& entries);
