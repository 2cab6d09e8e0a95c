// The command line of Vald2600 as a user meets it: usage, refusals, and the
// start of a run.

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

const char kUsageBody[] =
    "Usage: Vald2600 [rename|move|scan[d]|scannew[d]|list[d]|audit[2]\n"
    "       [changes[-]] [changesnew[-]] [quiet] [dirs] [deep] [sep_]\n"
    "\n"
    "rename     = rename ROMs\n"
    "move       = move ROMs\n"
    "scan       = generate listing of all ROMs [w/dirs]\n"
    "scannew    = generate listing of unknown ROMs [w/dirs]\n"
    "list       = lists ROMs you have/need [w/dirs]\n"
    "audit      = prints names not matching any line in Valdinfo.cfg\n"
    "changes    = log rename/move operations (- reverses)\n"
    "changesnew = log rename/move operations that change a filename\n"
    "dirs       = move to dirs using Valdinfo.cfg info\n"
    "quiet      = suppress most non-error messages\n"
    "sepX       = replaces space in filenames with char X\n"
    "deep       = adds more detail to scanfiles where appliciable\n"
    "\n"
    "several output files are created depending on option selected:\n"
    "\n"
    "Vald2600.db  = database of scanned ROMs\n"
    "2600Miss.txt = ROMs missing (if in rename/move/list mode)\n"
    "2600Have.txt = ROMS present (if in rename/move/list mode)\n"
    "2600Scan.txt = log of 'scan' and 'scannew'\n"
    "2600Log.txt  = log of 'changes' and 'changesnew'\n"
    "Vald_ZIP.txt = log of ZIP errors\n"
    "\n"
    "more option words:\n"
    "\n"
    "copy       = copy ROMs out of folders and packs into 2600Ren\n"
    "undo       = take back the last rename/move/copy run\n"
    "plan       = show what rename/move/copy/undo would do, change nothing\n"
    "verify     = also check size and SHA-1/MD5 of ROMs found by CRC\n"
    "csv        = also write 2600Report.csv (list/rename/move/copy)\n"
    "dat=FILE   = use the DAT file FILE as the catalogue (may repeat)\n"
    "fixdat     = also write 2600Miss.dat, the ROMs missing as a DAT\n"
    "to=TARGET  = copy laid out for harmony, unocart, pluscart, bin, mame,\n"
    "             retroarch or esde\n"
    "out=FOLDER = copy into FOLDER (a card) instead of 2600Ren\n"
    "1g1r       = one ROM per game (copy/list/csv); tv=ntsc or tv=pal picks\n"
    "\n";

const char kStats[] = "\nStats: 1544 entries, 0 redumps, 0 hacks/trainers, 2 bad dumps\n";

// The banner: two lines, the first naming the tool and its version.
void expect_banner_at(const std::string& err, std::size_t at) {
  ASSERT_EQ(err.compare(at, 10, "Vald2600: "), 0) << err;
  const std::size_t first_end = err.find('\n', at);
  ASSERT_NE(first_end, std::string::npos);
  EXPECT_NE(err.substr(at, first_end - at).find("V 0.999.3 BETA"), std::string::npos) << err;
  EXPECT_NE(err.find('\n', first_end + 1), std::string::npos);
}

std::string after_banner(const std::string& err) {
  const std::size_t first_end = err.find('\n');
  return err.substr(err.find('\n', first_end + 1) + 1);
}

TEST(RunDriverTest, NoWordsPrintUsageAndStatistics) {
  ValdSandbox sandbox;
  const ProgramResult result = sandbox.run({});
  EXPECT_EQ(result.exitCode, 0);
  expect_banner_at(result.err, 0);
  EXPECT_EQ(after_banner(result.err), kUsageBody);
  EXPECT_EQ(result.out, kStats);
  EXPECT_TRUE(list_names(sandbox.work_dir()).empty());
  EXPECT_EQ(list_names(sandbox.program_dir()), std::vector<std::string>{program_file_name()});
}

TEST(RunDriverTest, TwoModesAreRefused) {
  for (const auto& words : std::vector<std::vector<std::string>>{
           {"list", "scan"}, {"rename", "scand"}, {"audit", "move"}, {"list", "rename"}}) {
    ValdSandbox sandbox;
    const ProgramResult result = sandbox.run(words);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(after_banner(result.err),
              std::string(kUsageBody) + "Cannot use more than one of scan,list,rename\n")
        << words[0] << " " << words[1];
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(list_names(sandbox.work_dir()).empty());
  }
}

TEST(RunDriverTest, ConvertIsNoModeOfItsOwn) {
  ValdSandbox sandbox;
  const ProgramResult result = sandbox.run({"convert"});
  EXPECT_EQ(result.out, std::string("Cannot convert this system to other formats\n") + kStats);
  EXPECT_EQ(after_banner(result.err), kUsageBody);
}

TEST(RunDriverTest, OneModeRunsWithBannerStatisticsAndTheFirstWalkLine) {
  ValdSandbox sandbox;
  const ProgramResult result = sandbox.run({"scan"});
  EXPECT_EQ(result.exitCode, 0);
  expect_banner_at(result.err, 0);
  EXPECT_EQ(after_banner(result.err), "");
  EXPECT_EQ(result.out.rfind(std::string(kStats) + native("Scanning ./*.bin.a26\n"), 0), 0u)
      << result.out;
}

TEST(RunDriverTest, ArgumentsOfEveryShapeAreSafe) {
  ValdSandbox sandbox;
  const std::string long_word(100000, 'x');
  const ProgramResult result = sandbox.run({"", long_word, "\xff\xfe", "-", "c", "sep", "sepxx"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, kStats);
}

}  // namespace
