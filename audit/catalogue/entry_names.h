#pragma once
// The naming rules of catalogue entries, one home for the compiled-in table
// (made from a software list by tools/make_rom_table) and for the DATs a run
// loads: the cleaning of characters a file name cannot hold, the name of a
// software-list entry, and the " [a1]", " [a2]" suffixes of equal names.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The image sizes the tool accepts, in bytes.
inline constexpr std::uint64_t SMALLEST_IMAGE_SIZE = 1024;
inline constexpr std::uint64_t LARGEST_IMAGE_SIZE = 132096;

// The most entries a catalogue loaded from DAT files holds.
inline constexpr std::size_t DAT_ENTRY_LIMIT = 1000000;

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

// One entry of a catalogue built from a file.
struct CatalogueEntry {
  std::string name;
  std::string image;  // the image's own name in its DAT, or empty
  std::uint32_t crc = 0;
  std::uint32_t size = 0;
  std::array<unsigned char, 16> md5{};
  std::array<unsigned char, 20> sha1{};
  bool hasMd5 = false;
  bool hasSha1 = false;
  bool badDump = false;
};

// Sorts by name without regard to ASCII case (equal ones by their bytes, then
// in their first order) and tells equal names apart with " [a1]", " [a2]", ...
void number_equal_names(std::vector<CatalogueEntry>& entries);
