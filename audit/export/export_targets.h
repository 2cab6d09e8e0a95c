#pragma once
// The export room: copy to=TARGET, the collection laid out for where it is
// played (flash carts, MAME, RetroArch, ES-DE), each target a row of one
// table, written through the placer. It may use naming, run, dat, the
// catalogue, archive, zip, sniff, files and system.
//
// The targets of copy to=, one row each.

#include <cstddef>
#include <string>
#include <string_view>

#include "sniff/bankswitch.h"

// What a target writes beside the images, or instead of them.
enum class ExportKind {
  images,     // the images, laid out for a menu
  mame,       // a ZIP for each game of MAME's software list
  retroarch,  // the images and RetroArch's playlist
  esde,       // the images and ES-DE's game list
};

struct ExportTarget {
  const char* word;       // as to= names it
  ExportKind kind;
  bool schemeExtensions;  // an image whose scheme the cart knows gets its extension
  bool plusSchemes;       // the PlusCart's further extensions too
  std::size_t nameLimit;  // characters of a file name the menu shows; 0: no limit
  std::size_t folderCap;  // entries a folder shows; 0: no cap
};

// The target to= names (any case); nullptr for a word that names none.
const ExportTarget* export_target_named(std::string_view word);

// The words of every target, for the line that refuses another.
std::string export_target_words();

// The extension (without its dot) an image of `scheme` gets on `target`:
// the scheme's own when the target has one for it, else "bin".
std::string export_extension(const ExportTarget& target, Scheme scheme);
