// The CRC index of a loaded catalogue answers as a search from the start
// would: first entry of a CRC, -1 when absent, texts as the tool writes them.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/rom_database.h"
#include "run/run_state.h"

namespace {

std::string crc_text(std::uint32_t crc) {
  char text[9];
  std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(crc));
  return text;
}

TEST(CatalogueIndexTest, AgreesWithASearchFromTheStart) {
  reset_run_state();
  // CRCs that share their low bits, and 0, crowd the same slots.
  std::vector<CatalogueEntry> entries;
  for (std::uint32_t index = 0; index < 5000; ++index) {
    CatalogueEntry entry;
    entry.crc = index << 16;
    entry.name = "Game " + std::to_string(index);
    entries.push_back(entry);
  }
  db_use_loaded_catalogue(std::move(entries));
  db_build_counters();
  ASSERT_EQ(db_count(), 5000);
  for (int index = 0; index < db_count(); ++index) {
    const std::uint32_t crc = rom_database().crcs[index];
    ASSERT_EQ(db_find_crc(crc), index);
    ASSERT_EQ(db_find_crc_text(crc_text(crc).c_str(), 0), index);
    ASSERT_EQ(db_find_crc_text(crc_text(crc).c_str(), index + 1), -1);
  }
  for (const std::uint32_t absent : {1u, 0xFFFFFFFFu, 5000u << 16}) {
    EXPECT_EQ(db_find_crc(absent), -1) << absent;
    EXPECT_EQ(db_find_crc_text(crc_text(absent).c_str(), 0), -1) << absent;
  }
  // The catalogue's texts are lowercase; an upper-case text matches none.
  EXPECT_EQ(db_find_crc_text("000A0000", 0), -1);
  EXPECT_EQ(db_find_crc_text("000a000", 0), -1);
}

}  // namespace
