#include "catalogue/rom_database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "reports/reports.h"
#include "run/run_state.h"
#include "run_fixture.h"
#include "test_support.h"

namespace {

TEST(ShippedCatalogueTest, EntriesAreWellFormedAndUnique) {
  const auto catalogue = shipped_catalogue();
  ASSERT_EQ(catalogue.size(), 1544u);
  std::set<std::string> crcs;
  std::set<std::string> names;
  for (const char* entry : catalogue) {
    const std::string text = entry;
    ASSERT_GT(text.size(), 9u) << text;
    for (int position = 0; position < 8; ++position) {
      const char digit = text[position];
      EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(digit)) || (digit >= 'a' && digit <= 'f'))
          << text;
    }
    EXPECT_EQ(text[8], ' ') << text;
    const std::string name = text.substr(DB_NAME_OFFSET);
    EXPECT_EQ(name.find_first_of("\\/:*?\"<>|"), std::string::npos) << text;
    for (const char character : name) {
      EXPECT_FALSE(std::iscntrl(static_cast<unsigned char>(character))) << text;
    }
    EXPECT_EQ(name.front() == ' ' || name.back() == ' ', false) << text;
    EXPECT_TRUE(crcs.insert(text.substr(0, 8)).second) << "CRC twice: " << text;
    EXPECT_TRUE(names.insert(name).second) << "name twice: " << text;
  }
}

// The generator says each group of a name once, and keeps every SHA-1 and
// bad-dump mark of the software list.
TEST(ShippedCatalogueTest, NoNameRepeatsAGroupAndEveryEntryHasItsSha1) {
  reset_run_state();
  for (int index = 0; index < db_count(); ++index) {
    const std::string name = db_name(index);
    std::set<std::string> groups;
    for (std::size_t open = name.find('('); open != std::string::npos;
         open = name.find('(', open + 1))
      EXPECT_TRUE(groups.insert(name.substr(open, name.find(')', open) - open)).second) << name;
    const CatalogueEntry record = db_entry_record(index);
    EXPECT_TRUE(record.hasSha1 && !record.hasMd5) << name;
    EXPECT_EQ(record.badDump, name.ends_with("[b]")) << name;
  }
}

TEST(ShippedCatalogueTest, StatisticsOfTheShippedTable) {
  reset_run_state();
  const DbStats stats = db_stats();
  EXPECT_EQ(stats.entries, 1544);
  EXPECT_EQ(stats.redumps, 0);
  EXPECT_EQ(stats.hacks, 0);
  EXPECT_EQ(stats.badDumps, 2);
  EXPECT_EQ(stats.unclassed, 0);
}

TEST(DbStatsTest, EachRuleCountsItsTags) {
  static const char* const table[] = {
      "00000001 Alpha (1982) [!]",         // redump
      "00000002 Beta (Hack) (!)",          // redump; "Hack" is not "hack"
      "00000003 Gamma hack",               // hack
      "00000004 Delta [h1] [t]",           // hack once, though two tags
      "00000005 Epsilon trained [b1]",     // hack and bad dump
      "00000006 Zeta [o2]",                // bad dump
      "00000007 Eta (bad dump) Bad Dump",  // bad dump once
      "00000008 Theta (overdump)",         // bad dump
      "00000009 ZZZ_Iota",                 // unclassed
      "0000000a Kappa",                    // nothing
  };
  reset_run_state();
  rom_database().entries = table;
  const DbStats stats = db_stats();
  EXPECT_EQ(stats.entries, 10);
  EXPECT_EQ(stats.redumps, 2);
  EXPECT_EQ(stats.hacks, 3);
  EXPECT_EQ(stats.badDumps, 4);
  EXPECT_EQ(stats.unclassed, 1);

  testing::internal::CaptureStdout();
  db_print_stats();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "\nStats: 10 entries (1 unclassed), 2 redumps, 3 hacks/trainers, 4 bad dumps\n");

  run_state().options.messExport = 1;
  testing::internal::CaptureStdout();
  db_print_stats();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  reset_run_state();
}

class DbLookupTest : public FreshRunTest {};

TEST_F(DbLookupTest, FindsByTextAndByNumber) {
  db_prepare();
  const int last = db_count() - 1;
  const std::string text = std::string(shipped_catalogue()[last]).substr(0, 8);
  EXPECT_EQ(db_find_crc_text(text.c_str(), 0), last);
  EXPECT_EQ(db_find_crc_text((text + " anything after").c_str(), 0), last);
  EXPECT_EQ(db_find_crc(catalogue_crc(last)), last);
  EXPECT_EQ(db_find_crc_text(text.c_str(), last), last);
  EXPECT_EQ(db_find_crc_text(text.c_str(), db_count()), -1);
  EXPECT_EQ(db_find_crc_text("", 0), -1);
  EXPECT_EQ(std::string(db_name(last)), catalogue_name(last));
}

TEST_F(DbLookupTest, UpperCaseHexFindsNothing) {
  db_prepare();
  int index = -1;
  for (int candidate = 0; candidate < db_count() && index < 0; ++candidate) {
    const std::string text(shipped_catalogue()[candidate], 8);
    if (text.find_first_of("abcdef") != std::string::npos) index = candidate;
  }
  ASSERT_GE(index, 0);
  std::string upper(shipped_catalogue()[index], 8);
  for (char& digit : upper)
    digit = static_cast<char>(std::toupper(static_cast<unsigned char>(digit)));
  EXPECT_EQ(db_find_crc_text(upper.c_str(), 0), -1);
}

// What an earlier run had, read from its files; no copy of this run's counts.
class DbSeedTest : public FreshRunTest {
 protected:
  static std::vector<unsigned char> database(std::uint32_t system,
                                             const std::vector<int>& indexes) {
    std::vector<unsigned char> bytes = {'V', 'A', 'L', 'D'};
    auto put = [&bytes](std::uint32_t value) {
      for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<unsigned char>(value >> shift));
    };
    put(system);
    for (const int index : indexes) put(catalogue_crc(index));
    return bytes;
  }

  std::vector<int> seeded() const {
    std::vector<int> indexes;
    for (int index = 0; index < db_count(); ++index) {
      if (rom_database().hadBefore[index] != 0) indexes.push_back(index);
    }
    return indexes;
  }

  std::string prepare() {
    testing::internal::CaptureStdout();
    db_prepare();
    return testing::internal::GetCapturedStdout();
  }

  static std::string have_lines(const std::vector<int>& indexes, const char* line_end) {
    std::string text =
        std::string(" You have some of the known Atari 2600 ROMS") + line_end + line_end;
    for (const int index : indexes) text += catalogue_name(index) + line_end;
    return text;
  }
};

TEST_F(DbSeedTest, DatabaseInTheProgramFolderWinsOverTheHaveList) {
  write_bytes(in_program("Vald2600.db"), database(1, {5, 700, 1543}));
  write_bytes(in_start("Vald2600.db"), database(1, {6}));
  write_text(in_start("2600Have.txt"), have_lines({9}, "\n"));
  EXPECT_EQ(prepare(), "Found Vald2600.db, Ignoring 2600Have.txt\n");
  EXPECT_EQ(seeded(), (std::vector<int>{5, 700, 1543}));
  const auto& found = rom_database().have;
  EXPECT_EQ(std::count(found.begin(), found.end(), 0), db_count());
}

TEST_F(DbSeedTest, DatabaseInTheStartFolderIsReadWhenTheProgramFolderHasNone) {
  write_bytes(in_start("Vald2600.db"), database(1, {6}));
  EXPECT_EQ(prepare(), "Found Vald2600.db, Ignoring 2600Have.txt\n");
  EXPECT_EQ(seeded(), (std::vector<int>{6}));
}

TEST_F(DbSeedTest, ForeignSystemFallsBackToTheHaveListSilently) {
  write_bytes(in_program("Vald2600.db"), database(2, {5}));
  write_text(in_start("2600Have.txt"), have_lines({9, 10}, "\n"));
  EXPECT_EQ(prepare(), "");
  EXPECT_EQ(seeded(), (std::vector<int>{9, 10}));
}

TEST_F(DbSeedTest, WrongMagicFallsBackToTheHaveList) {
  auto bytes = database(1, {5});
  bytes[0] = 'X';
  write_bytes(in_program("Vald2600.db"), bytes);
  write_text(in_start("2600Have.txt"), have_lines({9}, "\n"));
  EXPECT_EQ(prepare(), "");
  EXPECT_EQ(seeded(), (std::vector<int>{9}));
}

TEST_F(DbSeedTest, HeaderOnlySeedsNothingButStillWins) {
  write_bytes(in_program("Vald2600.db"), database(1, {}));
  write_text(in_start("2600Have.txt"), have_lines({9}, "\n"));
  EXPECT_EQ(prepare(), "Found Vald2600.db, Ignoring 2600Have.txt\n");
  EXPECT_TRUE(seeded().empty());
}

TEST_F(DbSeedTest, TrailingPartialCrcAndUnknownCrcsAreIgnored) {
  auto bytes = database(1, {3});
  for (const unsigned char byte : {0x12, 0x34, 0x56, 0x78})
    bytes.push_back(byte);                                              // not catalogued
  bytes.push_back(static_cast<unsigned char>(catalogue_crc(4) >> 24));  // 1 of 4 bytes
  bytes.push_back(static_cast<unsigned char>(catalogue_crc(4) >> 16));
  write_bytes(in_program("Vald2600.db"), bytes);
  prepare();
  EXPECT_EQ(seeded(), (std::vector<int>{3}));
}

TEST_F(DbSeedTest, QuietSilencesTheFoundLine) {
  run_state().options.quiet = 1;
  write_bytes(in_program("Vald2600.db"), database(1, {1}));
  EXPECT_EQ(prepare(), "");
  EXPECT_EQ(seeded(), (std::vector<int>{1}));
}

TEST_F(DbSeedTest, HaveListWithWindowsLineEndsSeedsTheSameEntries) {
  write_text(in_start("2600Have.txt"), have_lines({2, 40, 1543}, "\r\n"));
  prepare();
  EXPECT_EQ(seeded(), (std::vector<int>{2, 40, 1543}));
}

TEST_F(DbSeedTest, LastLineWithoutLineEndKeepsItsLastCharacter) {
  std::string text = have_lines({2}, "\n") + catalogue_name(30);
  write_text(in_start("2600Have.txt"), text);
  prepare();
  EXPECT_EQ(seeded(), (std::vector<int>{2, 30}));
}

TEST_F(DbSeedTest, OnlyNamesAtOrAfterThePreviousMatchAreSeeded) {
  write_text(in_start("2600Have.txt"), have_lines({50, 20, 60, 55}, "\n"));
  prepare();
  EXPECT_EQ(seeded(), (std::vector<int>{50, 60}));
}

TEST_F(DbSeedTest, NamesMatchWithRegardToCaseAndWhole) {
  std::string lower = catalogue_name(12);
  for (char& character : lower)
    character = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
  ASSERT_NE(lower, catalogue_name(12));
  write_text(in_start("2600Have.txt"),
             lower + "\n" + catalogue_name(13) + " \n" + catalogue_name(14) + "\n");
  prepare();
  EXPECT_EQ(seeded(), (std::vector<int>{14}));
}

TEST_F(DbSeedTest, OverlongLinesAndGarbageAreSkipped) {
  std::string text =
      std::string(250, 'A') + catalogue_name(7) + "\n";  // tail is not a line of its own
  text += std::string("\x01\xff\x80garbage\0bytes", 17) + "\n";
  text += "\xc3" + catalogue_name(8) + "\n";  // starts beyond ASCII
  text += "x\n\n";
  text += catalogue_name(9) + "\n";
  write_text(in_start("2600Have.txt"), text);
  prepare();
  EXPECT_EQ(seeded(), (std::vector<int>{9}));
}

TEST_F(DbSeedTest, NothingToSeedFromLeavesAllCountersAtZero) {
  EXPECT_EQ(prepare(), "");
  EXPECT_TRUE(seeded().empty());
  EXPECT_EQ(static_cast<int>(rom_database().have.size()), db_count());
}

}  // namespace
