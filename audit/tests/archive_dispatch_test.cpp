// Archives in a collection: which member is the image, and what each mode
// does with archives of several images, emulator packages and broken ones.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sample_images.h"
#include "test_support.h"
#include "zip_test_support.h"

namespace {

constexpr std::uint32_t kUnknownCrc = 0x00c0ffee;

class ArchiveDispatchTest : public ::testing::Test {
 protected:
  ValdSandbox sandbox;
  const int title = catalogue_index_of("3-D Tic-Tac-Toe (1978) (Atari) (PAL)");
  const int other_title = catalogue_index_of("Adventure + (2003) (Homebrew)");

  // Zips the named members, made on the fly and deflated, into work/<archive>.
  void zip(const std::string& archive,
           const std::vector<std::pair<std::string, std::vector<unsigned char>>>& members) {
    ziptest::ZipBuilder builder;
    for (const auto& [name, bytes] : members) builder.add(name, bytes, true);
    write_bytes(sandbox.work(archive), builder.build());
  }
  std::vector<unsigned char> image(std::uint32_t crc, std::uint32_t seed = 1,
                                   std::size_t size = 4096) {
    return make_sample_image(crc, size, seed);
  }
  static std::vector<unsigned char> text(const std::string& words) {
    return std::vector<unsigned char>(words.begin(), words.end());
  }
  std::string scan_log() const { return read_text(sandbox.work("2600Scan.txt")); }
};

TEST_F(ArchiveDispatchTest, ImageBesideATextFileIsIdentifiedUnderTheArchiveName) {
  zip("river.zip", {{"readme.txt", text("notes")}, {"game.bin", image(kUnknownCrc)}});
  sandbox.run({"scan"});
  EXPECT_EQ(scan_log(), "\"00c0ffee river\",\n");
}

TEST_F(ArchiveDispatchTest, CataloguedArchiveIsRenamedWithZipExtension) {
  zip("river.zip", {{"readme.txt", text("notes")}, {"GAME.A26", image(catalogue_crc(title))}});
  sandbox.run({"rename"});
  EXPECT_TRUE(file_exists(sandbox.work("2600Ren/" + catalogue_name(title) + ".zip")));
  EXPECT_FALSE(file_exists(sandbox.work("river.zip")));
}

TEST_F(ArchiveDispatchTest, ScanUsesTheDirectoryCrcOfACataloguedMember) {
  zip("a.zip", {{"game.bin", image(catalogue_crc(title))}});
  sandbox.run({"scan"});
  char crc[9];
  std::snprintf(crc, sizeof crc, "%08x", catalogue_crc(title));
  EXPECT_EQ(scan_log(), "\"" + std::string(crc) + " a\",\n");
}

TEST_F(ArchiveDispatchTest, CataloguedMemberWithAnyNameIsFoundByItsCrc) {
  // game.rom has no 2600 extension, and its bytes would fail the format test.
  const auto foreign = make_foreign_image(catalogue_crc(title), 4096);
  for (const char* mode : {"scan", "list", "rename"}) {
    std::remove(sandbox.program("Vald2600.db").c_str());
    if (!file_exists(sandbox.work("odd.zip"))) zip("odd.zip", {{"game.rom", foreign}});
    const ProgramResult result = sandbox.run({mode});
    EXPECT_EQ(result.out.find("NO Atari 2600"), std::string::npos) << mode;
    EXPECT_EQ(result.out.find("NOT in"), std::string::npos) << mode;
    if (std::string(mode) == "rename") {
      EXPECT_TRUE(file_exists(sandbox.work("2600Ren/" + catalogue_name(title) + ".zip")));
    } else if (std::string(mode) == "list") {
      EXPECT_NE(result.out.find("You have 1 of 1544"), std::string::npos) << result.out;
    } else {
      EXPECT_NE(scan_log().find(" odd\",\n"), std::string::npos) << scan_log();
    }
  }
}

TEST_F(ArchiveDispatchTest, TwoImagesAreSkippedExceptInListModeWhereBothCount) {
  zip("pair.zip",
      {{"one.bin", image(catalogue_crc(title))}, {"two.a26", image(catalogue_crc(other_title))}});
  for (const char* mode : {"rename", "move", "scan"}) {
    const ProgramResult result = sandbox.run({mode});
    EXPECT_NE(result.out.find("Multiple ROMS found in pair.zip ... skipping\n"), std::string::npos)
        << mode;
    EXPECT_TRUE(file_exists(sandbox.work("pair.zip"))) << mode;
  }
  EXPECT_FALSE(file_exists(sandbox.work("2600Scan.txt")));
  std::remove(sandbox.program("Vald2600.db").c_str());
  const ProgramResult listed = sandbox.run({"list"});
  EXPECT_EQ(listed.out.find("Multiple"), std::string::npos);
  EXPECT_NE(listed.out.find("You have 2 of 1544"), std::string::npos) << listed.out;
}

TEST_F(ArchiveDispatchTest, ExecutableMarksAnEmulatorPackage) {
  zip("emu.zip", {{"game.bin", image(catalogue_crc(title))}, {"player.EXE", text("MZ")}});
  const ProgramResult result = sandbox.run({"rename"});
  EXPECT_NE(result.out.find("I don't rename ROMS inside EMU distros :-) ... skipping emu.zip\n"),
            std::string::npos);
  EXPECT_TRUE(file_exists(sandbox.work("emu.zip")));
  EXPECT_EQ(result.out.find("You have"), std::string::npos);
  // In list mode its catalogued image still counts, silently.
  const ProgramResult listed = sandbox.run({"list"});
  EXPECT_EQ(listed.out.find("EMU"), std::string::npos);
  EXPECT_NE(listed.out.find("You have 1 of 1544"), std::string::npos);
}

TEST_F(ArchiveDispatchTest, ArchiveWithoutAnImageSaysSo) {
  zip("docs.zip", {{"manual.txt", text("how to play")}});
  const ProgramResult result = sandbox.run({"scan"});
  EXPECT_NE(result.out.find("NO Atari 2600 ROMS found in docs.zip\n"), std::string::npos);
}

TEST_F(ArchiveDispatchTest, CorruptArchiveIsReportedAndLogged) {
  write_text(sandbox.work("broken.zip"), "this is not an archive at all");
  const ProgramResult result = sandbox.run({"rename"});
  EXPECT_NE(result.out.find(
                "Error in zipfile broken.zip\nThe zipfile seems to be corrupt, please check it\n"),
            std::string::npos)
      << result.out;
  EXPECT_EQ(read_text(sandbox.work("Vald_ZIP.txt")),
            "Error in zipfile broken.zip: Reading ECD (end of central directory)\n");
  EXPECT_TRUE(file_exists(sandbox.work("broken.zip")));
}

TEST_F(ArchiveDispatchTest, MemberThatCannotBeExtractedSkipsTheArchive) {
  ziptest::ZipBuilder builder;
  ziptest::Member& member = builder.add("game.bin", image(kUnknownCrc), true);
  member.payload.resize(member.payload.size() / 2);  // deflate data cut short
  member.compressedSize = static_cast<std::uint32_t>(member.payload.size());
  write_bytes(sandbox.work("cut.zip"), builder.build());
  const ProgramResult result = sandbox.run({"scan"});
  EXPECT_NE(result.out.find("Error reading cut.zip ... skipping\n"), std::string::npos)
      << result.out;
  EXPECT_FALSE(file_exists(sandbox.work("2600Scan.txt")));
}

TEST_F(ArchiveDispatchTest, MemberOfImpossibleSizeIsRefusedWithoutExtraction) {
  // The directory claims 4 GiB - 1; nothing may be allocated or inflated for it.
  ziptest::ZipBuilder builder;
  ziptest::Member& member = builder.add("big.bin", image(kUnknownCrc), true);
  member.uncompressedSize = 0xFFFFFFFFu;
  write_bytes(sandbox.work("big.zip"), builder.build());
  zip("large.zip", {{"large.bin", image(kUnknownCrc, 2, 132097)}});
  const ProgramResult result = sandbox.run({"scan"});
  EXPECT_NE(result.out.find("Unrecognized image size in big.zip\n"), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("Unrecognized image size in large.zip\n"), std::string::npos);
  EXPECT_EQ(result.out.find("Error"), std::string::npos);
  EXPECT_FALSE(file_exists(sandbox.work("Vald_ZIP.txt")));
}

TEST_F(ArchiveDispatchTest, LooseImageAfterAnArchiveKeepsItsOwnExtension) {
  zip("a.zip", {{"game.bin", image(catalogue_crc(title))}});
  write_bytes(sandbox.work("b.bin"), image(catalogue_crc(other_title), 2));
  sandbox.run({"rename"});
  EXPECT_TRUE(file_exists(sandbox.work("2600Ren/" + catalogue_name(title) + ".zip")));
  EXPECT_TRUE(file_exists(sandbox.work("2600Ren/" + catalogue_name(other_title) + ".bin")));
}

}  // namespace
