// The MESS crc file: the rules on crafted names, and the whole export of the
// shipped catalogue through the built program.

#include "app/mess_export.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "catalogue/rom_table.h"
#include "test_support.h"

namespace {

struct MessCase {
  const char* entry;
  const char* line;
  const char* what;
};

const MessCase kCases[] = {
    {"7322ebc6 3-D Tic-Tac-Toe (1978) (Atari) (PAL) [!]",
     "7322ebc6= 3-D Tic-Tac-Toe (Atari) (PAL) [!] | 1978 | | \n", "four-digit year, tags kept"},
    {"3d642220 Beamrider (Activision) [b]",
     "3d642220= Beamrider (Activision) [b] |  | | Known Bad Dump\n", "no year, bad dump"},
    {"d2a330a3 Circus Atari (1978) (Paddles)", "d2a330a3= Circus Atari (Paddles) | 1978 | | \n",
     "year before a further part"},
    {"00000001 Game (1982-83) (Maker)", "00000001= Game (Maker) | 1982-83 | | \n",
     "seven-character year"},
    {"00000002 Game (19xx) (Unknown)", "00000002= Game (Unknown) | 19xx | | \n",
     "year with letters"},
    {"00000003 Game (19) (1984)", "00000003= Game (19) (1984) |  | | \n",
     "only the first (19 counts"},
    {"00000004 Game (1984) {Maker Co}", "00000004= Game  | 1984 | | Maker Co\n", "maker tag"},
    {"00000005 Game {Maker Co", "00000005= Game  |  | | Maker Co\n", "maker tag left open"},
    {"00000006 Game [b1] {Maker}", "00000006= Game [b1]  |  | | Known Bad Dump\n",
     "bad dump beats maker"},
    {"00000007 (1984) Demo", "00000007=  Demo | 1984 | | \n", "year first, nothing before it"},
    {"00000008 Odd (19", "00000008= Odd (19 |  | | \n", "cut short after (19"},
};

TEST(MessExportTest, LineRulesOnCraftedNames) {
  for (const MessCase& each : kCases) EXPECT_EQ(mess_crc_line(each.entry), each.line) << each.what;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

TEST(MessExportTest, ProgramPrintsOnlyTheCrcFile) {
  ValdSandbox sandbox;
  // A have database would otherwise be announced.
  write_bytes(sandbox.program("Vald2600.db"), {'V', 'A', 'L', 'D', 0, 0, 0, 1});
  const ProgramResult result = sandbox.run({"mess_crcs"});
  const std::vector<std::string> lines = lines_of(result.out);
  ASSERT_EQ(lines.size(), 5u + ROM_TABLE_COUNT);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5),
            (std::vector<std::string>{
                "# This MESS CRC file was generated from Tamsell's Vald databases",
                "# Please keep this notice intact if editing this file",
                "# crc= Game Name | Year | Manufacturer | Emulation Status", "", "[a2600]"}));
  for (int index = 0; index < ROM_TABLE_COUNT; ++index) {
    ASSERT_EQ(lines[5 + index].substr(0, 10), std::string(ROM_TABLE[index], 8) + "= ") << index;
  }
  EXPECT_NE(result.out.find("\n7322ebc6= 3-D Tic-Tac-Toe (Atari) (PAL) | 1978 | | \n"),
            std::string::npos);
  EXPECT_NE(result.out.find("\n9dc94535= Circus Atari (PAL) (Unknown) | 19xx | | \n"),
            std::string::npos);
  EXPECT_NE(result.err.find("Vald2600: "), std::string::npos);
  EXPECT_TRUE(list_names(sandbox.work_dir()).empty());
  // Words the export ignores are said on standard error, never in the file.
  const ProgramResult ignoring = sandbox.run({"mess_crcs", "plan", "csv"});
  EXPECT_EQ(ignoring.out, result.out);
  EXPECT_NE(ignoring.err.find("plan only works with"), std::string::npos);
  EXPECT_NE(ignoring.err.find("csv only works with"), std::string::npos);
}

}  // namespace
