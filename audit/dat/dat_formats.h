#pragma once
// The readers of the three DAT formats. Each reads one file's images as the
// file states them and hands them, one at a time, to a sink; the sink checks
// and keeps them. A reader that meets broken input stops with input.error()
// set, naming the line.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "dat/dat_input.h"
#include "dat/entry_names.h"

// The most images one game may list.
inline constexpr std::size_t DAT_GAME_ROM_LIMIT = 4096;

// One image as a DAT states it; `name` is the entry name (cleaned) the
// reader makes from the game's name and the image's own.
struct DatRom {
  std::string name;
  std::string image;  // the image's own name in the DAT
  std::string crc;    // as written; empty when the DAT gives none
  std::string size;   // as written
  std::string md5;
  std::string sha1;
  bool badDump = false;
  // What the DAT says of the image's game, alike for each of its images.
  std::string game;           // the game's own name (a software list's short name)
  bool softwareList = false;  // the game is a software list's entry
  std::string cloneOf;        // the parent game's name, or empty
  std::string year;           // as written, or empty
  std::string publisher;      // a software list's publisher, a DAT's manufacturer
  std::string compatibility;  // a software list's TV system, or empty
  const char* scheme = "";    // a software list's bankswitch scheme (static text), or ""
};

// An image size as a DAT writes it: decimal, or hex after "0x"; 0 when it
// is neither or too large to matter.
std::uint64_t parse_dat_size(std::string_view text);

class RomSink {
 public:
  virtual ~RomSink() = default;
  // Takes one image; false when the run holds DAT_ENTRY_LIMIT images already.
  virtual bool add(const DatRom& rom) = 0;
};

// A clrmamepro text DAT: blocks "name ( ... )", of which game, machine and
// resource blocks give images. False when the input failed.
bool read_clrmamepro(DatInput& input, RomSink& sink);

// A Logiqx datafile or a software list, told apart by the root element.
// False when the input failed.
bool read_xml_dat(DatInput& input, RomSink& sink);
