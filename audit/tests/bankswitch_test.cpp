// The scheme detector against the compiled-in catalogue: for each size class
// and mark, an image is made (no real cartridge data is shipped) at the size
// of a catalogue entry of that scheme when there is one, and the detector
// must name the catalogue's scheme, or else the row's. Where the bytes
// cannot tell (FE, CM, multicarts, ...), the catalogue's scheme wins.

#include "sniff/bankswitch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "catalogue/rom_database.h"
#include "test_support.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Bytes at an offset; a negative offset counts from the end.
struct Write {
  long offset;
  std::string bytes;
};

enum class Shape { plain, extraRam, equalHalves };

struct Row {
  const char* scheme;  // the catalogue's scheme, or the one expected
  std::size_t size;    // 0: the size of the catalogue's first entry of the scheme
  std::vector<Write> writes;
  Shape shape = Shape::plain;
  const char* detected = nullptr;  // what the bytes alone show, when not `scheme`
};

// `size` bytes that hold no mark: no opcode or text any rule looks for, no
// 128 bytes repeated, halves that differ.
Bytes plain_image(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t offset = 0; offset < size; ++offset)
    bytes[offset] = static_cast<unsigned char>(0xE0 + offset % 13);
  return bytes;
}

Bytes image_of(const Row& row, std::size_t size) {
  Bytes bytes = plain_image(size);
  for (std::size_t bank = 0; row.shape == Shape::extraRam && bank < size; bank += 4096)
    std::copy_n(bytes.begin() + bank, 128, bytes.begin() + bank + 128);
  if (row.shape == Shape::equalHalves)
    std::copy_n(bytes.begin(), size / 2, bytes.begin() + size / 2);
  for (const Write& write : row.writes) {
    const std::size_t at = write.offset < 0 ? size + write.offset : write.offset;
    std::copy(write.bytes.begin(), write.bytes.end(), bytes.begin() + at);
  }
  return bytes;
}

int first_entry_of(const char* scheme) {
  for (int index = 0; index < db_count(); ++index) {
    if (std::string(db_entry_scheme(index)) == scheme) return index;
  }
  return -1;
}

TEST(BankswitchTest, DetectorAgreesWithTheCatalogueOnMadeImages) {
  reset_rom_database();  // the compiled-in table, whatever a test before loaded
  const std::string E0 = "\x8D\xE0\x1F", F8A = "\xAD\xF8\xFF", F8B = "\x8D\xF9\x1F";
  const std::string STA3F = "\x85\x3F", STA3E = "\x85\x3E";
  const Row rows[] = {
      {"2K", 0, {}},
      {"2K", 4096, {}, Shape::equalHalves},
      {"4K", 0, {}},
      {"4KSC", 4096, {}, Shape::extraRam},
      {"CV", 0, {{100, "\x9D\xFF\xF3"}}},
      {"CV", 4096, {{100, std::string("\x99\x00\xF4", 3)}}},
      {"AR", 6144, {}},
      {"AR", 3 * 8448, {}},
      {"F8", 0, {{10, F8A}, {4000, F8B}}},
      {"F8", 8192, {{10, F8A}, {20, F8B}, {30, "\x8D\xF0\x1F"}}},  // one stray segment access
      {"F8SC", 0, {}, Shape::extraRam},
      {"E0", 0, {{300, E0}}},
      {"3F", 0, {{10, STA3F}, {5000, STA3F}}},
      {"3E", 0, {{10, STA3F}, {20, STA3F}, {30, STA3E}}},
      {"UA", 0, {{7000, std::string("\x2C\xC0\x02")}}},
      {"0840", 8192, {{10, std::string("\xAD\x00\x08", 3)}, {20, "\xAD\x40\x08"}}},
      {"DPC", 0, {}},
      {"FA", 0, {}},
      {"F6", 0, {}},
      {"F6SC", 0, {}, Shape::extraRam},
      {"E7", 0, {{9000, "\xAD\xE5\xFF"}}},
      {"F4", 0, {}},
      {"F4SC", 0, {}, Shape::extraRam},
      {"DPC+", 29 * 1024, {}},
      {"DPC+", 0, {{100, "DPC+"}, {200, "DPC+"}}},
      {"CDF", 32768, {{100, "CDF"}, {200, "CDF"}, {300, "CDF"}}},
      {"BUS", 32768, {{100, "BUS"}, {200, "BUS"}}},
      {"F0", 65536, {}},
      {"EF", 65536, {{-8, "EFEF"}}},
      {"EFSC", 65536, {{-8, "EFSC"}}},
      {"SB", 131072, {}},
      {"DF", 131072, {{-8, "DFDF"}}},
      {"DFSC", 131072, {{-8, "DFSC"}}},
      {"BF", 262144, {}},
      {"BFSC", 262144, {{-8, "BFSC"}}},
      {"ELF", 20000, {{0, "\177ELF"}}},
      {"", 3000, {}},
      {"FE", 0, {}, Shape::plain, "F8"},
      {"CM", 0, {}, Shape::plain, "F6"},
      {"X07", 0, {}, Shape::plain, "F0"},
      {"MULTI", 0, {}, Shape::plain, "F0"},
      {"FV", 0, {}, Shape::plain, "F8"},
      {"AR", 0, {}, Shape::plain, "2K"},
  };
  for (const Row& row : rows) {
    const int entry = first_entry_of(row.scheme);
    SCOPED_TRACE(std::string(row.scheme) + " " + std::to_string(row.size));
    ASSERT_TRUE(row.size != 0 || entry >= 0) << "no catalogue entry of this scheme";
    const std::size_t size = row.size != 0 ? row.size : db_entry_size(entry);
    const Bytes image = image_of(row, size);
    const Scheme scheme = scheme_named(row.scheme);
    EXPECT_STREQ(scheme_name(scheme), row.scheme) << "not a scheme name";
    const Scheme detected = detect_scheme(image.data(), image.size());
    EXPECT_STREQ(scheme_name(detected), row.detected ? row.detected : row.scheme);
    const char* catalogued = entry >= 0 && row.size == 0 ? db_entry_scheme(entry) : "";
    EXPECT_EQ(image_scheme(catalogued, image.data(), image.size()),
              row.size == 0 ? scheme : detected);
  }
}

TEST(BankswitchTest, EveryEntryOfTheCompiledInTableHasAScheme) {
  reset_rom_database();
  for (int index = 0; index < db_count(); ++index)
    EXPECT_NE(scheme_named(db_entry_scheme(index)), Scheme::unknown) << catalogue_name(index);
}

}  // namespace
