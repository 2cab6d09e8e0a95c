// The audit mode: on crafted catalogues in process, and on the shipped one
// through the built program.

#include "app/audit_mode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/rom_table.h"
#include "run/run_state.h"
#include "run_fixture.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

const char* const kCraftedEntries[] = {
    "00000001 Open (1982 (Maker)",
    "00000002 Twice (1980)",
    "00000003 Balanced (1978) (Atari) [!]",
    "00000004 Twice (1980)",
    "00000005 Twice (1980)",
    "00000006 Exactly sixty-one characters long ...........................",
    "00000007 Sixty-two characters long, one too many ......................",
};

class AuditModeTest : public FreshRunTest {
 protected:
  void SetUp() override {
    FreshRunTest::SetUp();
    rom_database().entries = kCraftedEntries;
  }
  std::string audit(const std::string& configuration = "") {
    if (!configuration.empty()) write_text(in_program("ValdInfo.cfg"), configuration);
    CaptureStdout();
    run_audit();
    return GetCapturedStdout();
  }
  std::string cannot_open() {
    return "Cannot open " + in_program("ValdInfo.cfg") + " Using Defaults\n";
  }
};

TEST_F(AuditModeTest, ChecksParenthesesAndEqualNamesThenReportsAMissingConfiguration) {
  ASSERT_EQ(std::strlen(kCraftedEntries[5] + 9), 61u);
  EXPECT_EQ(audit(),
            "unmatched () Open (1982 (Maker)\n"
            "NAME!:  Twice (1980)\nNAME!:  Twice (1980)\nNAME!:  Twice (1980)\n"
            "Unmatched listings in ValdInfo.cfg\n" +
                cannot_open() + "ValdInfo.cfg not found\n \n");
}

TEST_F(AuditModeTest, LongNameVariantListsNamesOverSixtyOneCharacters) {
  run_state().options.audit2 = 1;
  const std::string out = audit("[A2600]\n*:All\n");
  EXPECT_NE(out.find("Long: [62] Sixty-two characters long"), std::string::npos) << out;
  EXPECT_EQ(count_of(out, "Long: "), 1) << out;
  EXPECT_NE(out.find("Unmatched listings in ValdInfo.cfg\n[None found]\n \n"), std::string::npos);
}

TEST_F(AuditModeTest, TraceVariantPrintsEachParenthesisedPartOnItsOwnLine) {
  run_state().options.audit3 = 1;
  const std::string out = audit("[A2600]\n*:All\n");
  EXPECT_EQ(out.substr(0, out.find("NAME!:")),
            "(1982 (Maker)\nunmatched () Open (1982 (Maker)\n"
            "(1980)\n(1978)\n(Atari)\n(1980)\n(1980)\n");
}

TEST_F(AuditModeTest, NamesNoGroupCoversAreListedInCatalogueOrder) {
  const std::string out = audit("[A2600]\n(1980):Eighty\n*Maker*:Makers\n");
  const std::string listing = out.substr(out.find("ValdInfo.cfg\n") + 13);
  EXPECT_EQ(listing, "Balanced (1978) (Atari) [!]\n" + std::string(kCraftedEntries[5] + 9) + "\n" +
                         std::string(kCraftedEntries[6] + 9) + "\n \n");
}

TEST_F(AuditModeTest, ConfigurationThatMatchesNothingListsEveryName) {
  const std::string out = audit("[A2600]\nno such title:None\n");
  for (const char* entry : kCraftedEntries) {
    EXPECT_NE(out.find(std::string("\n") + (entry + 9) + "\n"), std::string::npos) << entry;
  }
}

// The shipped catalogue, as the user runs the audit.
std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

std::string after_statistics(const std::string& out) {
  const std::size_t stats = out.find("\nStats: ");
  return out.substr(out.find('\n', stats + 1) + 1);
}

TEST(AuditModeProgramTest, ShippedCatalogueHasBalancedUniqueNames) {
  ValdSandbox sandbox;
  const ProgramResult result = sandbox.run({"audit"});
  EXPECT_EQ(after_statistics(result.out), "Unmatched listings in ValdInfo.cfg\nCannot open " +
                                              sandbox.program("ValdInfo.cfg") +
                                              " Using Defaults\nValdInfo.cfg not found\n \n");
}

TEST(AuditModeProgramTest, Audit2ListsEveryLongShippedName) {
  ValdSandbox sandbox;
  const ProgramResult result = sandbox.run({"audit2"});
  std::vector<std::string> expected;
  for (int index = 0; index < ROM_TABLE_COUNT; ++index) {
    const std::string name = ROM_TABLE[index] + 9;
    if (name.size() > 61) expected.push_back("Long: [" + std::to_string(name.size()) + "] " + name);
  }
  ASSERT_FALSE(expected.empty());
  std::vector<std::string> listed;
  for (const std::string& line : lines_of(result.out)) {
    if (line.starts_with("Long: ")) listed.push_back(line);
  }
  EXPECT_EQ(listed, expected);
}

TEST(AuditModeProgramTest, Audit3TracesEveryParenthesisedPartOfTheShippedNames) {
  ValdSandbox sandbox;
  write_text(sandbox.program("ValdInfo.cfg"), "[A2600]\n(PAL):PAL\n");
  const ProgramResult result = sandbox.run({"audit3"});
  const std::string out = after_statistics(result.out);
  const std::string trace = out.substr(0, out.find("Unmatched listings"));
  int parts = 0;
  for (int index = 0; index < ROM_TABLE_COUNT; ++index)
    parts += count_of(ROM_TABLE[index] + 9, "(");
  const std::vector<std::string> lines = lines_of(trace);
  ASSERT_EQ(static_cast<int>(lines.size()), parts);
  for (const std::string& line : lines) {
    ASSERT_TRUE(line.starts_with("(") && line.ends_with(")")) << line;
  }
  // With a configuration, the names without "(PAL)" are the unmatched ones.
  int without_pal = 0;
  for (int index = 0; index < ROM_TABLE_COUNT; ++index) {
    without_pal += std::strstr(ROM_TABLE[index], "(PAL)") == nullptr ? 1 : 0;
  }
  const std::string listing = out.substr(trace.size());
  EXPECT_EQ(static_cast<int>(lines_of(listing).size()), 1 + without_pal + 1);
}

}  // namespace
