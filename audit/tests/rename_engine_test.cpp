// The rename engine on real files: names, extensions, the modes, the change
// log and the duplicate route.

#include <string>

#include "rename_fixture.h"

namespace {

using RenameEngineTest = RenameTest;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

const std::string kPitfallBin = std::string(kPitfall) + ".bin";
const std::string kRiverBin = std::string(kRiverRaid) + ".bin";

TEST_F(RenameEngineTest, RenamesToTheCatalogueNameWithTheExtensionLowerCased) {
  const auto bytes = put_image("pitfall.BIN", kPitfall);
  EXPECT_TRUE(rename("pitfall.BIN", kPitfall));
  EXPECT_EQ(read_bytes(renamed(kPitfallBin)), bytes);
  EXPECT_FALSE(file_exists(in_start("pitfall.BIN")));
  EXPECT_EQ(have(kPitfall), 1);
}

TEST_F(RenameEngineTest, ArchiveKeepsTheZipExtension) {
  const auto bytes = put_image("river.zip", kRiverRaid);
  run_state().dispatch.inMemory = true;
  rename("river.zip", kRiverRaid);
  EXPECT_EQ(read_bytes(renamed(std::string(kRiverRaid) + ".zip")), bytes);
}

TEST_F(RenameEngineTest, MoveKeepsTheFileNameAndLogsTheCatalogueName) {
  options().move = 1;
  options().rename = 1;
  options().changes = 1;
  const auto bytes = put_image("My Pitfall.A26", kPitfall);
  CaptureStdout();
  rename("My Pitfall.A26", kPitfall);
  const std::string line = "N: \"" + std::string(kPitfall) + "\"  O: \"My Pitfall\"\n";
  EXPECT_EQ(GetCapturedStdout(), line);
  EXPECT_EQ(read_bytes(renamed("My Pitfall.A26")), bytes);
  EXPECT_EQ(read_text(in_start("2600Log.txt")), line);
}

TEST_F(RenameEngineTest, SeparatorReplacesSpacesInNameAndLogButNotInTheDupesName) {
  options().sep = 1;
  options().sepChar = '_';
  options().changes = 1;
  put_image("river.bin", kRiverRaid, 1);
  const auto second = put_image("river2.Bin", kRiverRaid, 2);
  CaptureStdout();
  rename("river.bin", kRiverRaid);
  rename("river2.Bin", kRiverRaid);
  const std::string out = GetCapturedStdout();
  const std::string underscored = "River_Raid_(1982)_(Activision)";
  EXPECT_TRUE(file_exists(renamed(underscored + ".bin")));
  // The duplicate keeps the spaces and the old extension as it was.
  EXPECT_EQ(read_bytes(duplicate(std::string(kRiverRaid) + ".Bin")), second);
  EXPECT_NE(out.find("N: \"" + underscored + "\"  O: \"river\"\n"), std::string::npos) << out;
  EXPECT_NE(read_text(in_start("2600Log.txt")).find(underscored), std::string::npos);
}

TEST_F(RenameEngineTest, ThreeCopiesGoToRenThenDupesThenTheCounterName) {
  const auto first = put_image("a.bin", kPitfall, 1);
  const auto second = put_image("b.bin", kPitfall, 2);
  const auto third = put_image("c.bin", kPitfall, 3);
  CaptureStdout();
  for (const char* name : {"a.bin", "b.bin", "c.bin"}) rename(name, kPitfall);
  const std::string out = GetCapturedStdout();
  EXPECT_EQ(read_bytes(renamed(kPitfallBin)), first);
  EXPECT_EQ(read_bytes(duplicate(kPitfallBin)), second);
  EXPECT_EQ(read_bytes(duplicate(std::string(kPitfall) + ".bi0")), third);
  EXPECT_EQ(have(kPitfall), 3);
  EXPECT_EQ(out, native("File 2600Ren/") + kPitfallBin + " already exists (Original: b.bin)\n" +
                     native("File 2600Ren/") + kPitfallBin + " already exists (Original: c.bin)\n");
  EXPECT_EQ(list_names(in_start("")), (std::vector<std::string>{"2600Dupes", "2600Ren"}));
}

TEST_F(RenameEngineTest, QuietSilencesTheTakenTargetMessage) {
  options().quiet = 1;
  put_image("a.bin", kPitfall, 1);
  put_image("b.bin", kPitfall, 2);
  CaptureStdout();
  rename("a.bin", kPitfall);
  rename("b.bin", kPitfall);
  EXPECT_EQ(GetCapturedStdout(), "");
  EXPECT_TRUE(file_exists(duplicate(kPitfallBin)));
}

TEST_F(RenameEngineTest, ExistingFileInTheTargetIsNeverReplaced) {
  make_dir(in_start("2600Ren"));
  write_text(renamed(kRiverBin), "the user's own file");
  const auto bytes = put_image("river.bin", kRiverRaid);
  CaptureStdout();
  rename("river.bin", kRiverRaid);
  GetCapturedStdout();
  EXPECT_EQ(read_text(renamed(kRiverBin)), "the user's own file");
  EXPECT_EQ(read_bytes(duplicate(kRiverBin)), bytes);
}

TEST_F(RenameEngineTest, ChangesNewLogsOnlyNamesThatChange) {
  options().changes = 1;
  options().changesAll = 0;
  put_image(kRiverBin, kRiverRaid);
  put_image("pit.bin", kPitfall);
  CaptureStdout();
  rename(kRiverBin, kRiverRaid);
  rename("pit.bin", kPitfall);
  EXPECT_EQ(GetCapturedStdout(), "N: \"" + std::string(kPitfall) + "\"  O: \"pit\"\n");
  EXPECT_TRUE(file_exists(renamed(kRiverBin)));
}

TEST_F(RenameEngineTest, ChangesLogsUnchangedNamesAndReversesWithTheDash) {
  options().changes = 1;
  options().changesReversed = 1;
  put_image(kRiverBin, kRiverRaid);
  CaptureStdout();
  rename(kRiverBin, kRiverRaid);
  const std::string line = "O: \"" + std::string(kRiverRaid) + "\"  N: \"" + kRiverRaid + "\"\n";
  EXPECT_EQ(GetCapturedStdout(), line);
  EXPECT_EQ(read_text(in_start("2600Log.txt")), line);
}

TEST_F(RenameEngineTest, ChangeLogAppendsAndQuietKeepsOnlyTheFile) {
  options().changes = 1;
  options().quiet = 1;
  write_text(in_start("2600Log.txt"), "earlier run\n");
  CaptureStdout();
  log_change("one.bin", "One");
  log_change("two", "Two");
  EXPECT_EQ(GetCapturedStdout(), "");
  close_tool_logs();
  EXPECT_EQ(read_text(in_start("2600Log.txt")),
            "earlier run\nN: \"One\"  O: \"one\"\nN: \"Two\"  O: \"two\"\n");
}

TEST_F(RenameEngineTest, ListModeLogsAndCountsButMovesNothing) {
  options().list = 1;
  options().rename = 1;
  options().changes = 1;
  put_image("a.bin", kPitfall, 1);
  put_image("b.bin", kPitfall, 2);
  put_image("river.a26", kRiverRaid);
  CaptureStdout();
  for (const char* name : {"a.bin", "b.bin"}) rename(name, kPitfall);
  rename("river.a26", kRiverRaid);
  const std::string out = GetCapturedStdout();
  EXPECT_EQ(count_of(out, "N: \""), 3) << out;
  EXPECT_EQ(have(kPitfall), 2);
  EXPECT_EQ(have(kRiverRaid), 1);
  EXPECT_EQ(list_names(in_start("")),
            (std::vector<std::string>{"2600Log.txt", "a.bin", "b.bin", "river.a26"}));
}

TEST_F(RenameEngineTest, UncataloguedImageIsLeftAlone) {
  options().changes = 1;
  ASSERT_EQ(db_find_crc_text("12345678", 0), -1);
  write_text(in_start("mystery.bin"), "mystery");
  CaptureStdout();
  EXPECT_FALSE(rename_image("12345678", "mystery.bin"));
  EXPECT_EQ(GetCapturedStdout(), "");
  EXPECT_EQ(list_names(in_start("")), std::vector<std::string>{"mystery.bin"});
  for (const int count : rom_database().have) ASSERT_EQ(count, 0);
}

TEST_F(RenameEngineTest, ExtensionOfAName) {
  EXPECT_EQ(name_extension("game.old.BIN"), ".BIN");
  EXPECT_EQ(name_extension(".bin"), "");
  EXPECT_EQ(name_extension("noext"), "");
  EXPECT_EQ(name_extension("trailing."), ".");
}

}  // namespace
