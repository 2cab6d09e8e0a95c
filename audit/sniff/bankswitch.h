#pragma once
// The bankswitch schemes of 2600 cartridges: how a cartridge larger than the
// console's 4K window shows its banks, and what else it carries (extra RAM, a
// coprocessor). One list with the names reports, flash-cart layouts and the
// catalogue show, and the detection of a scheme from an image's bytes. Pure
// computation; it includes nothing of ours.

#include <cstddef>
#include <cstdint>
#include <string_view>

// A name that begins with a digit is written with a leading `s` here
// (S2K is "2K"); SC marks the variants with 128 or 256 bytes of extra RAM.
enum class Scheme : std::uint8_t {
  unknown,  // an image of a size no scheme has; its name is empty
  S2K,
  S4K,
  S4KSC,
  F8,
  F8SC,
  F6,
  F6SC,
  F4,
  F4SC,
  FE,
  S3F,
  S3E,
  S3EPlus,
  E0,
  E7,
  S0840,
  CV,
  UA,
  FA,
  FA2,
  FV,
  EF,
  EFSC,
  BF,
  BFSC,
  DF,
  DFSC,
  F0,
  SB,
  DPC,
  DPCPlus,
  CDF,
  BUS,
  AR,
  ELF,
  ACE,
  WD,
  CM,
  X07,
  MULTI,  // a multicart of several games, each with its own scheme
};

inline constexpr std::size_t SCHEME_COUNT = static_cast<std::size_t>(Scheme::MULTI) + 1;

// "F8SC", "DPC+", "3E+", "2K"; "" for unknown.
const char* scheme_name(Scheme scheme);

// The scheme whose name is `name` (as scheme_name gives it, any case);
// unknown for any other text, the empty one included.
Scheme scheme_named(std::string_view name);

// The scheme an image of `size` bytes shows by its size alone: 2K for up to
// 2K, 4K, F8 for 8K, FA for 12K, F6 for 16K, DPC+ for 29K, F4 for 32K, F0
// for 64K, SB for 128K, BF for 256K, AR for 6K and multiples of 8,448 bytes,
// DPC for 10,240 to 10,496 bytes; unknown for any other size.
Scheme scheme_of_size(std::uint64_t size);

// The variant of `plain` with extra RAM: 4KSC, F8SC, F6SC, F4SC for 4K, F8,
// F6, F4; `plain` itself for any other scheme.
Scheme with_extra_ram(Scheme plain);

// The scheme of the image in `bytes`, from its size and what its bytes show,
// in one pass over them (the README lists the rules); unknown when the size
// fits no scheme.
Scheme detect_scheme(const unsigned char* bytes, std::size_t size);

// The scheme of an image the catalogue may know: `catalogued` (a name as
// scheme_name gives it) when it names one, else the one detected from the
// image's bytes. The catalogue wins where the two disagree.
Scheme image_scheme(std::string_view catalogued, const unsigned char* bytes, std::size_t size);
