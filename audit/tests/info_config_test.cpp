// Reading ValdInfo.cfg into the info groups, and matching names against them.

#include "naming/info_config.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/run_state.h"
#include "run_fixture.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

class InfoConfigTest : public FreshRunTest {
 protected:
  // Writes the file, loads it, and returns what loading printed.
  std::string load(const std::string& text) {
    write_text(in_program(INFO_FILE_NAME), text);
    CaptureStdout();
    load_info_config();
    return GetCapturedStdout();
  }
  const InfoGroup& group(int index) { return run_state().info.groups[index]; }
  int stored() {
    int count = 0;
    for (const InfoGroup& each : run_state().info.groups) count += each.directory.empty() ? 0 : 1;
    return count;
  }
};

TEST_F(InfoConfigTest, MissingFileIsAnnouncedAndLeavesTheTableEmpty) {
  run_state().info.groups[0].pattern = "left over";
  CaptureStdout();
  load_info_config();
  EXPECT_EQ(GetCapturedStdout(), "Cannot open " + in_program("ValdInfo.cfg") + " Using Defaults\n");
  EXPECT_FALSE(run_state().info.loaded);
  EXPECT_EQ(stored(), 0);
  EXPECT_TRUE(group(0).pattern.empty());
}

TEST_F(InfoConfigTest, OnlyLinesInsideTheA2600SectionArePatterns) {
  const std::string out = load(
      "before:Before\n"
      "[A2600] the 2600 groups\n"
      "# a comment:Comment\n"
      "x\n"
      "(PAL):PAL\n"
      "[b]:Bad\n"
      "[A7800]\n"
      "after:After\n"
      "[A2600]\n"
      "again:Again\n");
  EXPECT_EQ(out, "");
  EXPECT_TRUE(run_state().info.loaded);
  ASSERT_EQ(stored(), 3);
  EXPECT_EQ(group(0).pattern, "(PAL)");
  EXPECT_EQ(group(1).pattern, "[b]");
  EXPECT_EQ(group(1).directory, native("Bad/"));
  EXPECT_EQ(group(2).pattern, "again");
}

TEST_F(InfoConfigTest, PatternLinesGiveDirectoryTagAndIncludeFlag) {
  load(
      "[A2600]\r\n"
      "(PAL):PAL;pal\r\n"
      "[b:Bad;;N\n"
      "deep:Dir\\Sub\\;;n\n"
      "slash:Dir/Sub\n"
      "long tag:Keep;toolong;N\n"
      "five:Five;abcde;x\n"
      "a:b:Colon\n"
      "none:\n"
      ":Empty\n"
      "last:Last");
  ASSERT_EQ(stored(), 10);
  const std::vector<std::vector<std::string>> expected = {
      {"(PAL)", native("PAL/"), "pal", "1"},  {"[b", native("Bad/"), "", "0"},
      {"deep", native("Dir/Sub/"), "", "0"},  {"slash", native("Dir/Sub/"), "", "1"},
      {"long tag", native("Keep/"), "", "0"}, {"five", native("Five/"), "abcde", "1"},
      {"a", native("b:Colon/"), "", "1"},     {"none", native("/"), "", "1"},
      {"", native("Empty/"), "", "1"},        {"last", native("Last/"), "", "1"}};
  for (std::size_t index = 0; index < expected.size(); ++index) {
    const InfoGroup& each = group(static_cast<int>(index));
    EXPECT_EQ((std::vector<std::string>{each.pattern, each.directory, each.tag,
                                        std::to_string(each.include)}),
              expected[index])
        << "group " << index;
  }
}

TEST_F(InfoConfigTest, DirectoryEndsAtAControlOrHighByte) {
  load("[A2600]\nx:Dir\tTab\ny:Caf\xc3\xa9;tag\n");
  EXPECT_EQ(group(0).directory, native("Dir/"));
  EXPECT_EQ(group(1).directory, native("Caf/"));
  EXPECT_EQ(group(1).tag, "");
}

TEST_F(InfoConfigTest, LongTextsAreCutAtTheirFieldsWithoutSpilling) {
  load("[A2600]\n" + std::string(150, 'p') + ":D;tag;N\n" +  // pattern too long
       "q:" + std::string(150, 'd') + ";tag;N\n" +           // directory too long
       "r:" + std::string(98, 'e') + "/\n");                 // just fits
  EXPECT_EQ(group(0).pattern, std::string(99, 'p'));
  EXPECT_EQ(group(0).directory, native("D/"));
  EXPECT_EQ(group(1).directory, std::string(98, 'd') + PATH_SEPARATOR);
  for (int index = 0; index < 2; ++index) {
    EXPECT_EQ(group(index).tag, "tag");
    EXPECT_EQ(group(index).include, 0);
  }
  EXPECT_EQ(group(2).directory, std::string(98, 'e') + PATH_SEPARATOR);
}

TEST_F(InfoConfigTest, LineWithoutAColonIsNotInterpreted) {
  EXPECT_EQ(load("[A2600]\nno colon here\nok:Ok\nlast line"),
            "Cannot interpret \"no colon here\n\"\nCannot interpret \"last line\"\n");
  EXPECT_EQ(stored(), 1);
}

std::string pattern_lines(int count) {
  std::string text = "[A2600]\n";
  for (int line = 0; line < count; ++line) text += "p" + std::to_string(line) + ":D\n";
  return text;
}

TEST_F(InfoConfigTest, SixtyFourPatternsFillTheTable) {
  EXPECT_EQ(load(pattern_lines(63)), "");
  EXPECT_EQ(load(pattern_lines(64)), "Only 64 patterns allowed!\n");
  EXPECT_TRUE(run_state().info.loaded);
  // Reading stops at the 64th: later lines are not even looked at.
  EXPECT_EQ(load(pattern_lines(64) + "no colon\n"), "Only 64 patterns allowed!\n");
  EXPECT_EQ(group(63).pattern, "p63");
}

class InfoGroupMatchTest : public InfoConfigTest {
 protected:
  void SetUp() override {
    InfoConfigTest::SetUp();
    rom_database().entries = entries_;
  }

 private:
  static constexpr const char* entries_[] = {
      "00000001 River Raid (1982) (Activision)",
      "00000002 Pitfall (1983) (CCE) (PAL)",
      "00000003 Basketball (1978) (Atari) [b1]",
  };
};

TEST_F(InfoGroupMatchTest, StarPiecesMatchInEitherOrder) {
  load("[A2600]\n(Activision)*River:A\n(PAL)*1983:B\n");
  EXPECT_EQ(find_info_group(0), 0);
  EXPECT_EQ(find_info_group(1), 1);
  EXPECT_EQ(find_info_group(2), -1);
  load("[A2600]\n*:All\n");
  for (int index = 0; index < 3; ++index) EXPECT_EQ(find_info_group(index), 0);
  EXPECT_EQ(find_info_group(3), -1);
  EXPECT_EQ(find_info_group(-1), -1);
}

TEST_F(InfoGroupMatchTest, MatchingIsCaseSensitiveAndFirstGroupWins) {
  load("[A2600]\n(pal):Lower\n(1983):First\n(PAL):Second\n");
  EXPECT_EQ(find_info_group(1), 1);
  load("[A2600]\nriver raid:Lower\n");
  EXPECT_EQ(find_info_group(0), -1);
}

TEST_F(InfoGroupMatchTest, EmptyPatternEndsTheLookUp) {
  load("[A2600]\n[b:Bad\n:Nothing\n(PAL):PAL\n");
  EXPECT_EQ(find_info_group(2), 0);
  EXPECT_EQ(find_info_group(1), -1);
}

}  // namespace
