// Identification of loose images through scan runs of the built program.

#include "scan/identify.h"

#include <zlib.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "catalogue/rom_table.h"
#include "sample_images.h"
#include "test_support.h"

namespace {

std::string record(std::uint32_t crc, const std::string& name) {
  char text[16];
  std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(crc));
  return "\"" + std::string(text) + " " + name + "\",\n";
}

// A catalogued and an unknown image, both passing the format test.
class ScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int index = 0; index < ROM_TABLE_COUNT; ++index) {
      const std::uint32_t crc = catalogue_crc(index);
      ASSERT_TRUE(crc < unknown_crc || crc > unknown_crc + 4) << "pick other unknown CRCs";
    }
  }

  const std::uint32_t known_crc = catalogue_crc(100);
  const std::uint32_t unknown_crc = 0x00c0ffee;
  ValdSandbox sandbox;

  void add_image(const std::string& name, std::uint32_t crc, std::size_t size = 4096) {
    write_bytes(sandbox.work(name),
                make_sample_image(crc, size, static_cast<std::uint32_t>(name.size())));
  }
  std::string scan_log() const { return read_text(sandbox.work("2600Scan.txt")); }
};

TEST_F(ScanTest, RecordCarriesTheCrcAndTheNameWithoutItsExtension) {
  add_image("Pitfall.bin", known_crc);
  const ProgramResult result = sandbox.run({"scan"});
  EXPECT_EQ(scan_log(), record(known_crc, "Pitfall"));
  EXPECT_EQ(result.err.find("Cannot open"), std::string::npos);
}

TEST_F(ScanTest, RecordNamesCutOnlyTheLastExtension) {
  add_image("game.old.bin", unknown_crc);
  add_image(".bin", unknown_crc + 1);
  add_image("NoDot.A26", unknown_crc + 2);
  sandbox.run({"scan"});
  const std::string log = scan_log();
  EXPECT_NE(log.find(record(unknown_crc, "game.old")), std::string::npos) << log;
  EXPECT_NE(log.find(record(unknown_crc + 1, ".bin")), std::string::npos) << log;
  EXPECT_NE(log.find(record(unknown_crc + 2, "NoDot")), std::string::npos) << log;
  EXPECT_EQ(count_of(log, "\n"), 3);
}

TEST_F(ScanTest, SizeLimitsAreInclusive) {
  add_image("s1023.bin", unknown_crc, 1023);
  add_image("s1024.bin", unknown_crc + 1, 1024);
  add_image("s132096.bin", unknown_crc + 2, 132096);
  add_image("s132097.bin", unknown_crc + 3, 132097);
  const ProgramResult result = sandbox.run({"scan"});
  EXPECT_NE(result.out.find("Unrecognized image size in s1023.bin\n"), std::string::npos);
  EXPECT_NE(result.out.find("Unrecognized image size in s132097.bin\n"), std::string::npos);
  EXPECT_EQ(count_of(result.out, "Unrecognized image size"), 2);
  const std::string log = scan_log();
  EXPECT_NE(log.find(record(unknown_crc + 1, "s1024")), std::string::npos);
  EXPECT_NE(log.find(record(unknown_crc + 2, "s132096")), std::string::npos);
  EXPECT_EQ(count_of(log, "\n"), 2);
}

TEST_F(ScanTest, HugeFilesAreRefusedBySizeWithoutBeingRead) {
  // 4 GiB + 2,048 bytes would wrap to 2,048 in 32 bits; the file is sparse.
  write_text(sandbox.work("huge.bin"), "");
  std::filesystem::resize_file(sandbox.work("huge.bin"), (std::uintmax_t{1} << 32) + 2048);
  const ProgramResult result = sandbox.run({"scan"});
  EXPECT_NE(result.out.find("Unrecognized image size in huge.bin\n"), std::string::npos);
  EXPECT_FALSE(file_exists(sandbox.work("2600Scan.txt")));
}

TEST_F(ScanTest, ForeignBytesAreNotA2600Image) {
  write_bytes(sandbox.work("notes.bin"), make_foreign_image(known_crc, 4096));
  const ProgramResult result = sandbox.run({"scan"});
  EXPECT_NE(result.out.find("NOT in Atari 2600 Format --> notes.bin\n"), std::string::npos);
  EXPECT_FALSE(file_exists(sandbox.work("2600Scan.txt")));
}

TEST_F(ScanTest, ExtensionsMatchWithoutRegardToCaseAndOthersAreIgnored) {
  add_image("GAME.BIN", unknown_crc);
  add_image("game.A26", unknown_crc + 1);
  add_image("game.rom", unknown_crc + 2);
  add_image("game.zip.txt", unknown_crc + 3);
  add_image("bin", unknown_crc + 4);
  const ProgramResult result = sandbox.run({"scan"});
  EXPECT_EQ(count_of(scan_log(), "\n"), 2);
  EXPECT_EQ(result.out.find("game.rom"), std::string::npos);
  EXPECT_EQ(result.out.find("game.zip.txt"), std::string::npos);
}

TEST_F(ScanTest, ScannewRecordsOnlyUnknownImagesUnlessDeep) {
  add_image("known.bin", known_crc);
  add_image("unknown.bin", unknown_crc);
  sandbox.run({"scannew"});
  EXPECT_EQ(scan_log(), record(unknown_crc, "unknown"));
  std::remove(sandbox.work("2600Scan.txt").c_str());
  sandbox.run({"scannew", "deep"});
  const std::string log = scan_log();
  EXPECT_NE(log.find(record(known_crc, "known")), std::string::npos);
  EXPECT_NE(log.find(record(unknown_crc, "unknown")), std::string::npos);
}

TEST_F(ScanTest, RecordsAccumulateAcrossRuns) {
  add_image("a.bin", unknown_crc);
  sandbox.run({"scan"});
  sandbox.run({"scan", "quiet"});
  EXPECT_EQ(scan_log(), record(unknown_crc, "a") + record(unknown_crc, "a"));
}

TEST_F(ScanTest, ListModeIdentifiesButWritesNoRecord) {
  add_image("a.bin", known_crc);
  sandbox.run({"list"});
  EXPECT_FALSE(file_exists(sandbox.work("2600Scan.txt")));
}

TEST_F(ScanTest, LinkIsLeftAloneWithALine) {
  if (ON_WINDOWS) GTEST_SKIP() << "a symbolic link needs a privilege on Windows";
  std::filesystem::create_symlink("nowhere", sandbox.work("dangling.bin"));
  const ProgramResult result = sandbox.run({"scan"});
  EXPECT_NE(result.out.find("dangling.bin is a symbolic link; it was left alone\n"),
            std::string::npos)
      << result.out;
}

TEST_F(ScanTest, UnwritableLogFallsBackToHome) {
  if (ON_WINDOWS) GTEST_SKIP() << "Windows falls back to C:\\, not to $HOME";
  add_image("a.bin", unknown_crc);
  make_dir(sandbox.work("2600Scan.txt"));  // a folder where the log should be
  const ProgramResult result = sandbox.run({"scan"});
  const std::string fallback = sandbox.home_dir() + "/2600Scan.txt";
  EXPECT_NE(result.err.find("Using default log: " + fallback + "\n"), std::string::npos)
      << result.err;
  EXPECT_EQ(read_text(fallback), record(unknown_crc, "a"));
}

TEST(CrcTest, CheckValueOfTheCrcInUse) {
  const char text[] = "123456789";
  EXPECT_EQ(crc32(0L, reinterpret_cast<const Bytef*>(text), 9), 0xcbf43926u);
  // Our sample images are forged by an independent table implementation.
  EXPECT_EQ(crc32_of(make_sample_image(0xcbf43926u, 4096)), 0xcbf43926u);
}

TEST(ScanRecordNameTest, CutsAtTheLastDotUnlessItIsTheFirstCharacter) {
  EXPECT_EQ(scan_record_name("Pitfall.bin"), "Pitfall");
  EXPECT_EQ(scan_record_name("game.old.bin"), "game.old");
  EXPECT_EQ(scan_record_name(".bin"), ".bin");
  EXPECT_EQ(scan_record_name("plain"), "plain");
  EXPECT_EQ(scan_record_name(".hidden.a26"), ".hidden");
}

}  // namespace
