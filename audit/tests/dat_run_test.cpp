// Whole runs of the built program with dat= and fixdat: the DAT's names, the
// have database kept across catalogues, and refusals that change nothing.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "catalogue/rom_table.h"
#include "sample_images.h"
#include "test_support.h"
#include "zip_test_support.h"

namespace {

// CRCs the compiled-in table does not know.
constexpr std::uint32_t ALPHA_CRC = 0x0a1fa001;
constexpr std::uint32_t BETA_CRC = 0x0b2fb002;

constexpr char DAT[] =
    "clrmamepro ( name \"test\" )\n"
    "game ( name \"Alpha: One/Two (USA)\" rom ( name a.a26 size 4096 crc 0A1FA001 ) )\n"
    "game ( name \"Beta & <Gamma> (Europe)\" rom ( name b.a26 size 4096 crc 0b2fb002 "
    "md5 0123456789abcdef0123456789abcdef flags baddump ) )\n"
    "game ( name \"Huge\" rom ( name h.a26 size 999999 crc 0c3fc003 ) )";

// The public Logiqx datafile DTD that ROM managers check a DAT against.
constexpr char LOGIQX_DTD[] = R"(<!ELEMENT datafile (header?, game*, machine*)>
<!ATTLIST datafile build CDATA #IMPLIED>
<!ATTLIST datafile debug (yes|no) "no">
<!ELEMENT header (name, description, category?, version, date?, author, email?, homepage?, url?, comment?, clrmamepro?, romcenter?)>
<!ELEMENT name (#PCDATA)>
<!ELEMENT description (#PCDATA)>
<!ELEMENT category (#PCDATA)>
<!ELEMENT version (#PCDATA)>
<!ELEMENT date (#PCDATA)>
<!ELEMENT author (#PCDATA)>
<!ELEMENT email (#PCDATA)>
<!ELEMENT homepage (#PCDATA)>
<!ELEMENT url (#PCDATA)>
<!ELEMENT comment (#PCDATA)>
<!ELEMENT clrmamepro EMPTY>
<!ATTLIST clrmamepro header CDATA #IMPLIED>
<!ATTLIST clrmamepro forcemerging (none|split|full) "split">
<!ATTLIST clrmamepro forcenodump (obsolete|required|ignore) "obsolete">
<!ATTLIST clrmamepro forcepacking (zip|unzip) "zip">
<!ELEMENT romcenter EMPTY>
<!ATTLIST romcenter plugin CDATA #IMPLIED>
<!ATTLIST romcenter rommode (merged|split|unmerged) "split">
<!ATTLIST romcenter biosmode (merged|split|unmerged) "split">
<!ATTLIST romcenter samplemode (merged|unmerged) "merged">
<!ATTLIST romcenter lockrommode (yes|no) "no">
<!ATTLIST romcenter lockbiosmode (yes|no) "no">
<!ATTLIST romcenter locksamplemode (yes|no) "no">
<!ELEMENT game (comment*, description, year?, manufacturer?, release*, biosset*, rom*, disk*, sample*, archive*)>
<!ATTLIST game name CDATA #REQUIRED>
<!ATTLIST game sourcefile CDATA #IMPLIED>
<!ATTLIST game isbios (yes|no) "no">
<!ATTLIST game cloneof CDATA #IMPLIED>
<!ATTLIST game romof CDATA #IMPLIED>
<!ATTLIST game sampleof CDATA #IMPLIED>
<!ATTLIST game board CDATA #IMPLIED>
<!ATTLIST game rebuildto CDATA #IMPLIED>
<!ELEMENT machine (comment*, description, year?, manufacturer?, release*, biosset*, rom*, disk*, sample*, archive*)>
<!ATTLIST machine name CDATA #REQUIRED>
<!ATTLIST machine sourcefile CDATA #IMPLIED>
<!ATTLIST machine isbios (yes|no) "no">
<!ATTLIST machine cloneof CDATA #IMPLIED>
<!ATTLIST machine romof CDATA #IMPLIED>
<!ATTLIST machine sampleof CDATA #IMPLIED>
<!ATTLIST machine board CDATA #IMPLIED>
<!ATTLIST machine rebuildto CDATA #IMPLIED>
<!ELEMENT year (#PCDATA)>
<!ELEMENT manufacturer (#PCDATA)>
<!ELEMENT release EMPTY>
<!ATTLIST release name CDATA #REQUIRED>
<!ATTLIST release region CDATA #REQUIRED>
<!ATTLIST release language CDATA #IMPLIED>
<!ATTLIST release date CDATA #IMPLIED>
<!ATTLIST release default (yes|no) "no">
<!ELEMENT biosset EMPTY>
<!ATTLIST biosset name CDATA #REQUIRED>
<!ATTLIST biosset description CDATA #REQUIRED>
<!ATTLIST biosset default (yes|no) "no">
<!ELEMENT rom EMPTY>
<!ATTLIST rom name CDATA #REQUIRED>
<!ATTLIST rom size CDATA #REQUIRED>
<!ATTLIST rom crc CDATA #IMPLIED>
<!ATTLIST rom sha1 CDATA #IMPLIED>
<!ATTLIST rom md5 CDATA #IMPLIED>
<!ATTLIST rom merge CDATA #IMPLIED>
<!ATTLIST rom status (baddump|nodump|good|verified) "good">
<!ATTLIST rom date CDATA #IMPLIED>
<!ELEMENT disk EMPTY>
<!ATTLIST disk name CDATA #REQUIRED>
<!ATTLIST disk sha1 CDATA #IMPLIED>
<!ATTLIST disk md5 CDATA #IMPLIED>
<!ATTLIST disk merge CDATA #IMPLIED>
<!ATTLIST disk status (baddump|nodump|good|verified) "good">
<!ELEMENT sample EMPTY>
<!ATTLIST sample name CDATA #REQUIRED>
<!ELEMENT archive EMPTY>
<!ATTLIST archive name CDATA #REQUIRED>
)";

// The full path of `program` on the PATH; empty when it is not there.
std::string on_path(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "";
  for (std::size_t start = 0; start <= folders.size();) {
    const std::size_t end = std::min(folders.find(':', start), folders.size());
    const std::filesystem::path candidate =
        std::filesystem::path(folders.substr(start, end - start)) / program;
    if (end > start && std::filesystem::exists(candidate)) return candidate.string();
    start = end + 1;
  }
  return "";
}

class DatRunTest : public ::testing::Test {
 protected:
  ValdSandbox sandbox;
  const int shippedTitle = catalogue_index_of("Adventure + (2003) (Homebrew)");

  void SetUp() override {
    ASSERT_GE(shippedTitle, 0);
    write_text(sandbox.work("x.dat"), DAT);
  }
  void add_image(const std::string& name, std::uint32_t crc) {
    write_bytes(sandbox.work(name), make_sample_image(crc, 4096, crc));
  }
  // The CRCs of the have database beside the program.
  std::set<std::uint32_t> database_crcs() const {
    const std::vector<unsigned char> bytes = read_bytes(sandbox.program("Vald2600.db"));
    std::set<std::uint32_t> crcs;
    for (std::size_t at = 8; at + 4 <= bytes.size(); at += 4)
      crcs.insert(std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
                  std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3]);
    return crcs;
  }
};

TEST_F(DatRunTest, RenamesToTheDatsNamesAndWritesTheFixdat) {
  add_image("alpha.bin", ALPHA_CRC);
  add_image("shipped.bin", catalogue_crc(shippedTitle));
  const ProgramResult result = sandbox.run({"rename", "dat=x.dat", "fixdat"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err.find("Catalogue: 2 entries from \"x.dat\" (1 left out: size)\nVald2600"), 0u)
      << result.err;
  EXPECT_NE(result.out.find("Stats: 2 entries, 0 redumps, 0 hacks/trainers, 0 bad dumps"),
            std::string::npos)
      << result.out;
  EXPECT_EQ(list_names(sandbox.work("2600Ren")),
            std::vector<std::string>{"Alpha - One-Two (USA).bin"});
  EXPECT_TRUE(file_exists(sandbox.work("shipped.bin")));  // not in this run's catalogue
  EXPECT_EQ(read_text(sandbox.work("2600Miss.txt")),
            " You are missing 1 of 2 known Atari 2600 ROMS\n\nBeta & Gamma (Europe)\n");
  const std::string fixdat = read_text(sandbox.work("2600Miss.dat"));
  EXPECT_NE(fixdat.find("<game name=\"Beta &amp; Gamma (Europe)\">"), std::string::npos);
  EXPECT_NE(fixdat.find("<rom name=\"b.a26\" size=\"4096\" "
                        "crc=\"0b2fb002\" md5=\"0123456789abcdef0123456789abcdef\" "
                        "status=\"baddump\"/>"),
            std::string::npos)
      << fixdat;
  EXPECT_EQ(fixdat.find("Alpha"), std::string::npos);
}

// The other modes know the DAT's entries, and only them.
TEST_F(DatRunTest, OtherModesUseTheDat) {
  add_image("alpha.bin", ALPHA_CRC);
  add_image("shipped.bin", catalogue_crc(shippedTitle));
  struct Row {
    std::string mode;
    std::string present;
    std::string absent;
  };
  const Row rows[] = {
      {"scannew", "shipped\",", "alpha"},
      {"mess_crcs", "0b2fb002= Beta & Gamma (Europe) |", "Adventure"},
  };
  for (const Row& row : rows) {
    const ProgramResult result = sandbox.run({row.mode, "dat=x.dat"});
    const std::string seen =
        row.mode == "mess_crcs" ? result.out : read_text(sandbox.work("2600Scan.txt"));
    EXPECT_NE(seen.find(row.present), std::string::npos) << row.mode << ":\n" << seen;
    EXPECT_EQ(seen.find(row.absent), std::string::npos) << row.mode << ":\n" << seen;
  }
}

// A run with a DAT and a run without each add their own and keep the other's.
TEST_F(DatRunTest, HaveDatabaseKeepsWhatEachCatalogueRecorded) {
  add_image("shipped.bin", catalogue_crc(shippedTitle));
  ASSERT_EQ(sandbox.run({"list"}).exitCode, 0);
  add_image("alpha.bin", ALPHA_CRC);
  ASSERT_EQ(sandbox.run({"list", "dat=x.dat"}).exitCode, 0);
  EXPECT_EQ(database_crcs(), (std::set<std::uint32_t>{catalogue_crc(shippedTitle), ALPHA_CRC}));
  EXPECT_EQ(read_text(sandbox.work("2600Have.txt")),
            " You have 1 of 2 known Atari 2600 ROMS\n\nAlpha - One-Two (USA)\n");
  add_image("beta.bin", BETA_CRC);
  ASSERT_EQ(sandbox.run({"list"}).exitCode, 0);
  EXPECT_EQ(database_crcs(), (std::set<std::uint32_t>{catalogue_crc(shippedTitle), ALPHA_CRC}));
  const ProgramResult again = sandbox.run({"list", "dat=x.dat"});
  EXPECT_NE(again.out.find("You have 2 of 2 known"), std::string::npos) << again.out;
}

// Each unusable DAT: one line on standard error, status 2, and the folder and
// the program's folder exactly as they were.
TEST_F(DatRunTest, RefusalsChangeNothing) {
  add_image("alpha.bin", ALPHA_CRC);
  write_text(sandbox.work("not.dat"), "just some notes\n");
  write_text(sandbox.work("cut.dat"), "game ( name a\nrom ( name a size 4096 crc 0A1FA001 )\n");
  write_text(sandbox.work("none.dat"), "game ( name a rom ( name a size 12 crc 1 ) )\n");
  write_text(sandbox.work("bad.dat"), "game ( name a rom ( name a size 4096 crc 12G4 ) )\n");
  const std::pair<std::string, std::string> rows[] = {
      {"missing.dat",
       "Cannot use DAT \"missing.dat\": cannot open the file (" + error_text(ENOENT) + ")\n"},
      {"not.dat",
       "Cannot use DAT \"not.dat\": line 1: not a DAT file (neither clrmamepro text "
       "nor XML)\n"},
      {"cut.dat", "Cannot use DAT \"cut.dat\": line 1: unterminated game block\n"},
      {"none.dat", "Cannot use DAT \"none.dat\": no usable entry (1 left out: size)\n"},
      {"bad.dat", "Cannot use DAT \"bad.dat\": no usable entry (1 left out: bad CRC)\n"},
  };
  const std::vector<std::string> before = list_names(sandbox.work_dir());
  for (const auto& [file, refusal] : rows) {
    // A DAT that gives no entry is refused only when it is the only one.
    const bool empty = file == "none.dat" || file == "bad.dat";
    const ProgramResult result =
        empty ? sandbox.run({"rename", "dat=" + file, "fixdat"})
              : sandbox.run({"rename", "dat=x.dat", "dat=" + file, "fixdat"});
    EXPECT_EQ(result.exitCode, 2) << file;
    EXPECT_EQ(result.err, refusal);
    EXPECT_EQ(result.out, "") << file;
    EXPECT_EQ(list_names(sandbox.work_dir()), before) << file;
    EXPECT_EQ(list_names(sandbox.program_dir()), std::vector<std::string>{program_file_name()})
        << file;
  }
}

// The same DAT twice, or a DAT whose images the first one holds: its line
// says it adds nothing, and the run goes on with the first one's entries.
TEST_F(DatRunTest, ADatThatAddsNothingIsNoRefusal) {
  add_image("alpha.bin", ALPHA_CRC);
  write_text(sandbox.work("empty.dat"), "game ( name nothing rom ( name n size 4096 crc ZZ ) )\n");
  const ProgramResult result = sandbox.run({"list", "dat=x.dat", "dat=x.dat", "dat=empty.dat"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err.find("Catalogue: 2 entries from \"x.dat\" (1 left out: size)\n"
                            "Catalogue: 0 new entries from \"x.dat\" (3 left out: 1 size, 2 "
                            "duplicate)\n"
                            "Catalogue: 0 new entries from \"empty.dat\" (1 left out: bad CRC)\n"
                            "Vald2600"),
            0u)
      << result.err;
  EXPECT_NE(result.out.find("You have 1 of 2 known Atari 2600 ROMS"), std::string::npos)
      << result.out;
}

// A DAT handed out zipped is read from inside its archive, which must hold
// that one file.
TEST_F(DatRunTest, ReadsTheOneDatOfAZip) {
  add_image("alpha.bin", ALPHA_CRC);
  const ziptest::Bytes dat(DAT, DAT + sizeof DAT - 1);
  ziptest::ZipBuilder one, two;
  one.add("x.dat", dat, true);
  two.add("x.dat", dat, false);
  two.add("readme.txt", dat, false);
  write_bytes(sandbox.work("x.zip"), one.build());
  write_bytes(sandbox.work("two.zip"), two.build());
  ProgramResult result = sandbox.run({"rename", "dat=x.zip"});
  EXPECT_EQ(result.err.find("Catalogue: 2 entries from \"x.zip\" (1 left out: size)\n"), 0u)
      << result.err;
  EXPECT_EQ(list_names(sandbox.work("2600Ren")),
            std::vector<std::string>{"Alpha - One-Two (USA).bin"});
  result = sandbox.run({"list", "dat=two.zip"});
  EXPECT_NE(result.err.find("Cannot use DAT \"two.zip\": a ZIP archive must hold one DAT file"),
            std::string::npos)
      << result.err;
}

// 2600Miss.dat, from the compiled-in table or from a DAT, is a datafile the
// Logiqx DTD accepts: every rom has its size.
TEST_F(DatRunTest, FixdatIsAValidLogiqxDatafile) {
  add_image("alpha.bin", ALPHA_CRC);
  add_image("shipped.bin", catalogue_crc(shippedTitle));
  write_text(sandbox.work("datafile.dtd"), LOGIQX_DTD);
  const std::string xmllint = ON_WINDOWS ? "" : on_path("xmllint");
  const std::vector<std::string> catalogues[] = {{}, {"dat=x.dat"}};
  for (const auto& catalogue : catalogues) {
    std::vector<std::string> words = {"list", "fixdat"};
    words.insert(words.end(), catalogue.begin(), catalogue.end());
    ASSERT_EQ(sandbox.run(words).exitCode, 0);
    const std::string fixdat = read_text(sandbox.work("2600Miss.dat"));
    EXPECT_EQ(count_of(fixdat, "<rom "), count_of(fixdat, "<rom name=\""));
    EXPECT_EQ(count_of(fixdat, "<rom "), catalogue.empty() ? 1543 : 1);
    EXPECT_EQ(count_of(fixdat, "\" size=\""), count_of(fixdat, "<rom "));
    if (catalogue.empty()) {
      EXPECT_EQ(count_of(fixdat, "\" sha1=\""), 1543);
      EXPECT_EQ(count_of(fixdat, " status=\"baddump\""), 2);
      const int other = shippedTitle == 0 ? 1 : 0;
      EXPECT_NE(fixdat.find(catalogue_name(other) + ".bin\" size=\"" +
                            std::to_string(ROM_TABLE_SIZES[other]) + "\""),
                std::string::npos);
    }
    if (xmllint.empty()) continue;
    const ProgramResult check =
        run_program(xmllint, {"--noout", "--nonet", "--dtdvalid", "datafile.dtd", "2600Miss.dat"},
                    sandbox.work_dir(), sandbox.home_dir());
    EXPECT_EQ(check.exitCode, 0) << check.err;
  }
  if (xmllint.empty())
    GTEST_SKIP() << "xmllint not found (Debian package libxml2-utils): the "
                    "DTD check did not run";
}

}  // namespace
