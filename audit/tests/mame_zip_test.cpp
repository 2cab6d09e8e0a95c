// MAME's ZIP files: the same bytes for the same members in any time zone,
// what a reader finds in them, what is refused, the catalogue's software
// sets, and Debian's mame verifying a ROM folder of them when it is there.
// The images are forged with the catalogued CRC-32s and sizes.

#include "export/mame_zip.h"

#include <gtest/gtest.h>

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "archive/archive_reader.h"
#include "catalogue/rom_database.h"
#include "sample_images.h"
#include "test_disks.h"
#include "test_support.h"
#include "zip_test_support.h"

namespace {

using Bytes = std::vector<unsigned char>;

constexpr char DEBIAN_HASH_PATH[] = "/usr/share/games/mame/hash";

// Forged images of a software set's ROMs and the members that hold them.
struct ForgedSet {
  std::vector<Bytes> images;
  std::vector<ZipMemberData> members;
};

// Images the catalogue cannot hold (entry -1) are left out.
ForgedSet forge(const std::vector<SoftwareRom>& roms) {
  ForgedSet set;
  set.images.reserve(roms.size());  // the members point into them
  for (const SoftwareRom& rom : roms) {
    if (rom.entry < 0) continue;
    set.images.push_back(make_sample_image(catalogue_crc(rom.entry), db_entry_size(rom.entry)));
    set.members.push_back({rom.member, set.images.back().data(), set.images.back().size()});
  }
  return set;
}

// Writes the ZIP of `members` to a disk in memory whose `failAt`-th write
// fails (0: none); `bytes` gets what the file holds.
ZipWriteResult write_zip(const std::vector<ZipMemberData>& members, std::string& bytes,
                         int failAt = 0) {
  MemoryFileSystem disk;
  disk.fail(DiskCall::write, failAt);
  const FileHandle file = open_through(disk, "set.zip", "wb");
  const ZipWriteResult result = write_reproducible_zip(*file, members);
  (void)file->close();  // the write's own result is the one under test
  bytes = disk.bytes("set.zip");
  return result;
}

class MameZipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_rom_database();
    if (!zip_writing_available()) GTEST_SKIP() << "this build has no libarchive";
    sets = software_sets();
  }
  SoftwareSets sets;
};

TEST_F(MameZipTest, SameMembersGiveSameBytesInAnyTimeZoneAndReadBackInOrder) {
  const ForgedSet set = forge(sets.at("harmbios"));
  std::string first, second;
  set_environment("TZ", "UTC");
  tzset();
  ASSERT_TRUE(write_zip(set.members, first).ok());
  set_environment("TZ", "Pacific/Kiritimati");  // UTC+14
  tzset();
  ASSERT_TRUE(write_zip(set.members, second).ok());
  unset_environment("TZ");
  tzset();
  EXPECT_EQ(first, second);
  EXPECT_EQ(first[8], 8) << "the first member's method: deflate";

  TempDir folder;
  write_text(folder / "harmbios.zip", first);
  std::unique_ptr<ArchiveReader> reader;
  ASSERT_TRUE(open_archive((folder / "harmbios.zip").c_str(), ArchiveFormat::zip, reader).ok());
  ASSERT_EQ(reader->members().size(), set.members.size());
  for (std::size_t index = 0; index < set.members.size(); ++index) {
    const ArchiveMember& member = reader->members()[index];
    EXPECT_EQ(member.name, set.members[index].name);
    EXPECT_EQ(member.crc, crc32_of(set.images[index]));
  }
}

TEST_F(MameZipTest, RefusesNamesNoZipShouldHoldAndTellsTheDisksFailure) {
  const unsigned char byte = 0;
  struct Row {
    std::vector<std::string> names;
    int failAt;
    const char* reason;  // a piece of it; nullptr: the disk's failure
  } rows[] = {
      {{"a.bin", ""}, 0, "without a name"},
      {{"/a.bin"}, 0, "absolute: /a.bin"},
      {{"a/../../b.bin"}, 0, "\"..\" part: a/../../b.bin"},
      {{"a.bin", "b.bin", "a.bin"}, 0, "given twice: a.bin"},
      {{"a.bin"}, 1, nullptr},
  };
  for (const Row& row : rows) {
    std::vector<ZipMemberData> members;
    for (const std::string& name : row.names) members.push_back({name, &byte, 1});
    std::string bytes;
    const ZipWriteResult result = write_zip(members, bytes, row.failAt);
    ASSERT_FALSE(result.ok()) << row.names.back();
    if (row.reason != nullptr) {
      EXPECT_NE(result.reason.find(row.reason), std::string::npos) << result.reason;
      EXPECT_EQ(bytes, "");
    } else {
      EXPECT_EQ(result.disk.status, FsStatus::failed);
    }
  }
}

TEST_F(MameZipTest, EveryEntryIsARomOfItsSoftwareInNameOrder) {
  std::size_t roms = 0;
  for (const auto& [software, set] : sets) roms += set.size();
  EXPECT_EQ(roms, static_cast<std::size_t>(db_count()) + db_unheld_roms().size());
  // Three of the Harmony's ten images are larger than any the catalogue
  // holds: its set is never whole.
  const std::vector<SoftwareRom>& harmony = sets.at("harmbios");
  ASSERT_EQ(harmony.size(), 10u);
  EXPECT_EQ(harmony.front().member, "bios_updater_NTSC.cu");
  EXPECT_EQ(harmony.back().member, "hbios_106_NTSC_official_beta.bin");
  const auto lacking_first = [&](int entry) {
    return entry >= 0 && entry != harmony.front().entry;
  };
  EXPECT_EQ(
      missing_roms(harmony, lacking_first),
      (std::vector<std::string>{"bios_updater_NTSC.cu", "hbios_106_NTSC.bin",
                                "hbios_106_NTSC_beta_2.bin", "hbios_106_NTSC_official_beta.bin"}));
}

// Debian's mame finds every set written into a ROM folder ("is good", or
// "is bad" with a checksum complaint where bytes differ), none NOT FOUND.
TEST_F(MameZipTest, DebiansMameFindsEverySetWritten) {
  std::string mame = ziptest::find_on_path("mame");
  if (mame.empty() && file_exists("/usr/games/mame")) mame = "/usr/games/mame";
  if (mame.empty() || !file_exists(std::string(DEBIAN_HASH_PATH) + "/a2600.xml"))
    GTEST_SKIP()
        << "Debian's mame and mame-data are not installed (apt-get install mame mame-data)";
  TempDir roms;
  make_dir(roms / "a2600");
  const std::vector<std::string> written = {"pitfall", "riveraid", "elfadven", "bnj", "adventp"};
  for (const std::string& software : written) {
    const ForgedSet set = forge(sets.at(software));
    std::string bytes;
    ASSERT_TRUE(write_zip(set.members, bytes).ok());
    write_text(roms / ("a2600/" + software + ".zip"), bytes);
  }
  const ProgramResult run = run_program(
      mame, {"-verifysoftlist", "a2600", "-rompath", roms.path(), "-hashpath", DEBIAN_HASH_PATH},
      roms.path(), roms.path());
  std::printf("%s%s", run.out.c_str(), run.err.c_str());
  EXPECT_EQ(count_of(run.out, "NOT FOUND"), 0);
  EXPECT_NE(run.out.find(std::to_string(written.size()) + " romsets found"), std::string::npos);
  for (const std::string& software : written)
    EXPECT_NE(run.out.find("romset a2600:" + software + " is "), std::string::npos) << software;
}

}  // namespace
