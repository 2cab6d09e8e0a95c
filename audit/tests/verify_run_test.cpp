// verify, end to end: for the compiled-in table and a DAT of each format,
// the genuine image passes, one forged to the same CRC-32 and one of another
// size are refused with their line and stay; loose, in a ZIP, in a 7z.
// Without the word the same folder is named by CRC-32 alone.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/archive_reader.h"
#include "sample_images.h"
#include "test_support.h"
#include "zip_test_support.h"

namespace {

constexpr std::uint32_t DAT_CRC = 0x0a1fa001;  // no entry of the compiled-in table
const std::vector<unsigned char> GENUINE = make_sample_image(DAT_CRC, 4096, 1);
// GENUINE's digests, as sha1sum and md5sum give them.
const std::string ROM =
    "size=\"4096\" crc=\"0a1fa001\" sha1=\"895b5aa4a1130dff7287a64d31010ff571b75135\"/>";
const std::string CLRMAMEPRO = "game ( name Genuine rom ( name g.a26 size 4096 crc 0a1fa001 ";

struct Catalogue {
  std::string text;     // empty: the compiled-in table
  const char* failing;  // the hash that refuses a forged image
} const CATALOGUES[] = {
    {"", "SHA-1"},
    {CLRMAMEPRO + "sha1 895b5aa4a1130dff7287a64d31010ff571b75135 ) )", "SHA-1"},
    {CLRMAMEPRO + "md5 692b4b974584dfe6e17e65c98b99f795 ) )", "MD5"},
    {"<datafile><game name=\"Genuine\"><rom name=\"g.a26\" " + ROM + "</game></datafile>", "SHA-1"},
    {"<softwarelist name=\"a2600\"><software name=\"g\"><description>Genuine</description><part "
     "name=\"c\" interface=\"a2600_cart\"><dataarea name=\"rom\" size=\"4096\"><rom name=\"g\" " +
         ROM + "</dataarea></part></software></softwarelist>",
     "SHA-1"},
};

// `image` in the work folder as `stem` + `extension`: loose, or alone in a
// ZIP or 7z archive.
void place(const ValdSandbox& sandbox, const std::string& stem, const std::string& extension,
           const std::vector<unsigned char>& image) {
  ziptest::ZipBuilder zip;
  zip.add("game.bin", image, true);
  write_bytes(sandbox.work(stem + extension), extension == ".zip" ? zip.build() : image);
  if (extension != ".7z") return;
  const std::string seven = ziptest::find_on_path("7zz").empty() ? "7z" : "7zz";
  ziptest::shell(sandbox.work_dir(), "mv " + stem + ".7z " + stem + ".bin && " + seven +
                                         " a -bso0 " + stem + ".7z " + stem + ".bin && rm " + stem +
                                         ".bin");
}

TEST(VerifyRunTest, RefusesForgedAndResizedImagesOfEveryCatalogue) {
  const int shipped = catalogue_index_of("Adventure + (2003) (Homebrew)");
  for (const Catalogue& catalogue : CATALOGUES) {
    const bool dat = !catalogue.text.empty(), md5 = std::string(catalogue.failing) == "MD5";
    const std::string title = dat ? "Genuine" : catalogue_name(shipped);
    for (const std::string extension : {".bin", ".zip", ".7z"}) {
      if (extension == ".7z" && !libarchive_available()) continue;
      SCOPED_TRACE(catalogue.text + extension);
      ValdSandbox verified, plain;
      std::vector<std::string> words = {"rename"};
      if (dat) words.push_back("dat=catalogue.dat");
      for (const ValdSandbox* sandbox : {&verified, &plain}) {
        write_text(sandbox->work("catalogue.dat"), catalogue.text);
        if (dat) place(*sandbox, "genuine", extension, GENUINE);
        const std::uint32_t crc = dat ? DAT_CRC : catalogue_crc(shipped);
        place(*sandbox, "forged", extension, make_sample_image(crc, 4096, 2));
        place(*sandbox, "short", extension, make_sample_image(crc, 2048, 3));
      }
      const ProgramResult before = plain.run(words);
      EXPECT_EQ(before.out.find(" differs\n"), std::string::npos) << before.out;
      EXPECT_EQ(list_names(plain.work("2600Dupes")).size(), dat ? 2u : 1u) << before.out;
      words.push_back("verify");
      const ProgramResult result = verified.run(words);
      for (const std::string& line :
           {"forged" + extension + ": not " + title + ": " + catalogue.failing,
            "short" + extension + ": not " + title + ": size"})
        EXPECT_NE(result.out.find(line + " differs\n"), std::string::npos) << result.out;
      EXPECT_NE(result.out.find("Verified: " + std::to_string(dat && !md5) + " by SHA-1, " +
                                std::to_string(md5) + " by MD5, 0 by CRC-32 only (2 refused)\n"),
                std::string::npos)
          << result.out;
      EXPECT_EQ(list_names(verified.work("2600Ren")),
                dat ? std::vector<std::string>{"Genuine" + extension} : std::vector<std::string>{});
      EXPECT_TRUE(file_exists(verified.work("forged" + extension)));
    }
  }
}

// The members of a pack are checked as loose images are, before they are copied.
TEST(VerifyRunTest, CopyOutOfAPackHonoursVerify) {
  const std::uint32_t crc = catalogue_crc(catalogue_index_of("Adventure + (2003) (Homebrew)"));
  ValdSandbox sandbox;
  ziptest::ZipBuilder zip;
  zip.add("a.bin", make_sample_image(crc, 4096, 2), true);
  zip.add("b.bin", make_sample_image(crc, 4096, 3), true);
  write_bytes(sandbox.work("pack.zip"), zip.build());
  const ProgramResult result = sandbox.run({"copy", "verify"});
  EXPECT_NE(result.out.find("pack.zip/a.bin: not Adventure"), std::string::npos) << result.out;
  EXPECT_FALSE(file_exists(sandbox.work("2600Ren")));
}

// A DAT with two entries of GENUINE's CRC-32 that SHA-1 tells apart keeps
// both under verify, and the image is the one whose SHA-1 it has wherever
// the run names it; without verify the first entry of the CRC stands. A
// malformed SHA-1 is said in one line, under verify only.
TEST(VerifyRunTest, EntriesSharingACrcAreToldApartByTheirHash) {
  const std::string dat = "game ( name Alpha rom ( name a size 4096 crc 0a1fa001 sha1 " +
                          std::string(40, '1') + " ) )\ngame ( name Beta rom ( name b size 4096 " +
                          "crc 0a1fa001 sha1 895b5aa4a1130dff7287a64d31010ff571b75135 ) )\n" +
                          "game ( name Gamma rom ( name c size 4096 crc 1 sha1 xyz ) )\n";
  const std::string weaker =
      "Catalogue: 1 entries from \"twins.dat\" fall back to a weaker check (malformed: SHA-1)\n";
  struct Row {
    std::vector<std::string> words;
    std::string target;  // where the image goes in 2600Ren
    std::string loaded;  // the summary line
    bool weakerLine;
  } const rows[] = {
      {{"rename", "verify", "csv"}, "Beta.bin", "Catalogue: 3 entries from \"twins.dat\"\n", true},
      {{"copy", "verify", "csv"}, "Beta.bin", "Catalogue: 3 entries from \"twins.dat\"\n", true},
      {{"rename", "csv"},
       "Alpha.bin",
       "Catalogue: 2 entries from \"twins.dat\" (1 left out: duplicate)",
       false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.words[0] + " " + row.words[1]);
    ValdSandbox sandbox;
    write_text(sandbox.work("twins.dat"), dat);
    write_bytes(sandbox.work("genuine.bin"), GENUINE);
    std::vector<std::string> words = row.words;
    words.push_back("dat=twins.dat");
    const ProgramResult result = sandbox.run(words);
    EXPECT_EQ(list_names(sandbox.work("2600Ren")), std::vector<std::string>{row.target})
        << result.out;
    EXPECT_NE(result.err.find(row.loaded), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find(weaker) != std::string::npos, row.weakerLine) << result.err;
    const std::string title = row.target.substr(0, row.target.size() - 4);
    EXPECT_NE(read_text(sandbox.work("2600Report.csv"))
                  .find("new," + title + ",0a1fa001,4096,genuine.bin"),
              std::string::npos);
  }
}

}  // namespace
