#pragma once
// One catalogue entry as a record, the form in which DAT files and the
// generator of the compiled-in table hand entries to the catalogue, and the
// bounds every catalogue keeps.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The image sizes the tool accepts, in bytes.
inline constexpr std::uint64_t SMALLEST_IMAGE_SIZE = 1024;
inline constexpr std::uint64_t LARGEST_IMAGE_SIZE = 132096;

// The most entries a catalogue loaded from DAT files holds.
inline constexpr std::size_t DAT_ENTRY_LIMIT = 1000000;

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
