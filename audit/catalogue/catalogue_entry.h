#pragma once
// One catalogue entry as a record, the form in which DAT files and the
// generator of the compiled-in table hand entries to the catalogue and in
// which the catalogue tells what it knows of an entry, and the bounds every
// catalogue keeps.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The image sizes the tool accepts, in bytes.
inline constexpr std::uint64_t SMALLEST_IMAGE_SIZE = 1024;
inline constexpr std::uint64_t LARGEST_IMAGE_SIZE = 132096;

// The most entries a catalogue loaded from DAT files holds.
inline constexpr std::size_t DAT_ENTRY_LIMIT = 1000000;

// The TV system an image is made for.
enum class TvSystem : std::uint8_t { ntsc, pal, secam };

// "NTSC", "PAL", "SECAM".
const char* tv_system_name(TvSystem tv);

// The TV system whose name (as tv_system_name gives it) is exactly `word`.
std::optional<TvSystem> tv_system_named(std::string_view word);

// PAL or SECAM when an item of a parenthesised group of `name` names that
// system ("(PAL)", "(RC7, SECAM)"), else NTSC.
TvSystem tv_system_of_name(std::string_view name);

// An image a game of the file names that no catalogue holds (its size is
// none an image can have): a game that needs it can never be had whole.
struct UnheldRom {
  std::string game;  // the game's name in its file (a software list's short name)
  std::string rom;   // the image's own name in its file
};

// One entry of a catalogue built from a file, with what the file says of
// it. The compiled-in table keeps the same facts.
struct CatalogueEntry {
  std::string name;
  std::string image;  // the image's own name in its file (the ROM's name), or empty
  std::uint32_t crc = 0;
  std::uint32_t size = 0;
  std::array<unsigned char, 16> md5{};
  std::array<unsigned char, 20> sha1{};
  bool hasMd5 = false;
  bool hasSha1 = false;
  bool badDump = false;
  // The bankswitch scheme's name, static text ("F8SC"), as the software list
  // gives it; "" where the file gives none (the bytes tell it then).
  const char* scheme = "";
  TvSystem tv = TvSystem::ntsc;
  int parent = -1;            // the first entry of the parent game; -1: none
  std::string software;       // the game's name in its file (a software list's short name)
  bool softwareList = false;  // the file is a software list, whose names MAME knows
  std::string cloneOf;        // the parent game's name in the file, or empty
  std::string year;           // as the file gives it, or empty
  std::string publisher;      // as the file gives it (a DAT's manufacturer), or empty
};
