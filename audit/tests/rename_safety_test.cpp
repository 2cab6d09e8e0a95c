// The rename engine when things go wrong: counter names running out, folders
// that cannot be created, moves that fail, names that would leave 2600Ren.
// In every case the user's file stays where it was, with its bytes.

#include <string>

#include "rename_fixture.h"

namespace {

using RenameSafetyTest = RenameTest;
using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

const std::string kPitfallBin = std::string(kPitfall) + ".bin";

// The counter names after `name`, until the scheme runs out (its message is
// swallowed).
std::vector<std::string> counter_names_after(const std::string& name) {
  std::vector<std::string> names;
  CaptureStdout();
  for (const char* next = next_counter_name(name); next != nullptr;
       next = next_counter_name(next)) {
    names.push_back(next);
  }
  GetCapturedStdout();
  return names;
}

TEST_F(RenameSafetyTest, CounterNamesRunFromBi0ToB99ThenRunOut) {
  const std::vector<std::string> names = counter_names_after("x.bin");
  ASSERT_EQ(names.size(), 100u);
  EXPECT_EQ(names[0], "x.bi0");
  EXPECT_EQ(names[9], "x.bi9");
  EXPECT_EQ(names[10], "x.b10");
  EXPECT_EQ(names[11], "x.b11");
  EXPECT_EQ(names[99], "x.b99");
  CaptureStdout();
  EXPECT_EQ(next_counter_name("x.b99"), nullptr);
  EXPECT_EQ(next_counter_name("x"), nullptr);
  EXPECT_EQ(GetCapturedStdout(), "Out of temp filenames!\nOut of temp filenames!\n");
}

TEST_F(RenameSafetyTest, CounterNamesCountOnFromDigitsAlreadyThere) {
  EXPECT_STREQ(next_counter_name("x.a26"), "x.a27");
  EXPECT_STREQ(next_counter_name("x.a29"), "x.a30");
  EXPECT_STREQ(next_counter_name("x.b09"), "x.b10");
}

// Puts a file under every name the duplicate route would try for Pitfall,
// from 2600Ren on, up to and including the one ending in `last` (empty: all
// of them). Each file holds its own path.
std::vector<std::string> take_names(const std::string& start, const std::string& last = "") {
  make_dir(start + "/2600Ren");
  make_dir(start + "/2600Dupes");
  std::vector<std::string> taken = {start + "/2600Ren/" + kPitfallBin,
                                    start + "/2600Dupes/" + kPitfallBin};
  for (const std::string& name : counter_names_after(taken.back())) {
    taken.push_back(name);
    if (!last.empty() && name.ends_with(last)) break;
  }
  for (const std::string& name : taken) write_text(name, "taken: " + name);
  return taken;
}

void expect_untouched(const std::vector<std::string>& taken) {
  for (const std::string& name : taken) ASSERT_EQ(read_text(name), "taken: " + name);
}

TEST_F(RenameSafetyTest, CollisionsOnDiskLeadToTheNextFreeCounterName) {
  const auto taken = take_names(current_directory(), ".bi9");
  const auto bytes = put_image("new.bin", kPitfall);
  CaptureStdout();
  rename("new.bin", kPitfall);
  GetCapturedStdout();
  EXPECT_EQ(read_bytes(duplicate(std::string(kPitfall) + ".b10")), bytes);
  expect_untouched(taken);
}

TEST_F(RenameSafetyTest, WhenTheCounterRunsOutTheFileStaysInPlace) {
  const auto taken = take_names(current_directory());
  ASSERT_EQ(taken.size(), 102u);
  const auto bytes = put_image("last.bin", kPitfall);
  CaptureStdout();
  rename("last.bin", kPitfall);
  const std::string out = GetCapturedStdout();
  EXPECT_NE(out.find("Out of temp filenames!\n"), std::string::npos) << out;
  EXPECT_EQ(read_bytes(in_start("last.bin")), bytes);
  expect_untouched(taken);
  EXPECT_EQ(list_names(in_start("2600Dupes")).size(), 101u);
  EXPECT_EQ(have(kPitfall), 1);  // counted whatever became of the move
}

TEST_F(RenameSafetyTest, RenFolderThatCannotBeCreatedLeavesTheImageUncounted) {
  RefusingFileSystem refusing;
  refusing.refusedFolders["2600Ren"] = FsStatus::accessDenied;
  use_file_system(&refusing);
  const auto bytes = put_image("pit.bin", kPitfall);
  CaptureStderr();
  rename("pit.bin", kPitfall);
  EXPECT_EQ(GetCapturedStderr(), "Error creating dir: '2600Ren'\n");
  EXPECT_EQ(read_bytes(in_start("pit.bin")), bytes);
  EXPECT_EQ(have(kPitfall), 0);
}

TEST_F(RenameSafetyTest, DupesFolderThatCannotBeCreatedLeavesTheImageUncounted) {
  RefusingFileSystem refusing;
  refusing.refusedFolders["2600Dupes"] = FsStatus::failed;
  use_file_system(&refusing);
  put_image("a.bin", kPitfall, 1);
  const auto second = put_image("b.bin", kPitfall, 2);
  CaptureStdout();
  CaptureStderr();
  rename("a.bin", kPitfall);
  rename("b.bin", kPitfall);
  EXPECT_EQ(GetCapturedStderr(), "Error creating dir: '2600Dupes'\n");
  GetCapturedStdout();
  EXPECT_EQ(read_bytes(in_start("b.bin")), second);
  EXPECT_EQ(have(kPitfall), 1);
}

TEST_F(RenameSafetyTest, OtherMoveFailuresLeaveTheFileSilently) {
  RefusingFileSystem refusing;
  refusing.refuseEveryMove = FsStatus::failed;
  use_file_system(&refusing);
  const auto bytes = put_image("pit.bin", kPitfall);
  CaptureStdout();
  CaptureStderr();
  rename("pit.bin", kPitfall);
  EXPECT_EQ(GetCapturedStdout(), "");
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_EQ(read_bytes(in_start("pit.bin")), bytes);
  EXPECT_EQ(have(kPitfall), 1);
}

TEST_F(RenameSafetyTest, AccessDeniedTargetTakesTheDuplicateRoute) {
  RefusingFileSystem refusing;
  refusing.refusedTargets[native("2600Ren/") + kPitfallBin] = FsStatus::accessDenied;
  use_file_system(&refusing);
  const auto bytes = put_image("pit.bin", kPitfall);
  CaptureStdout();
  rename("pit.bin", kPitfall);
  EXPECT_NE(GetCapturedStdout().find("already exists (Original: pit.bin)"), std::string::npos);
  EXPECT_EQ(read_bytes(duplicate(kPitfallBin)), bytes);
}

TEST_F(RenameSafetyTest, SeparatorCharThatIsAPathSeparatorLeavesTheFileInPlace) {
  options().sep = 1;
  options().sepChar = '/';
  // Folders a careless join would move the file into.
  make_dir(in_start("2600Ren/River/Raid/(1982)"));
  const auto bytes = put_image("river.bin", kRiverRaid);
  CaptureStdout();
  rename("river.bin", kRiverRaid);
  GetCapturedStdout();
  EXPECT_EQ(read_bytes(in_start("river.bin")), bytes);
  EXPECT_TRUE(list_names(in_start("2600Ren/River/Raid/(1982)")).empty());
  EXPECT_EQ(list_names(in_start("2600Ren")), std::vector<std::string>{"River"});
}

}  // namespace

TEST_F(RenameSafetyTest, ManyCopiesInOneRunTakeEachFreeNameOnce) {
  // A file of the user's own holds .bi1 from the start.
  make_dir(in_start("2600Dupes"));
  write_text(duplicate(std::string(kPitfall) + ".bi1"), "the user's own");
  std::vector<std::vector<unsigned char>> copies;
  CaptureStdout();
  for (std::uint32_t copy = 0; copy < 6; ++copy) {
    const std::string file = "copy" + std::to_string(copy) + ".bin";
    copies.push_back(put_image(file, kPitfall, copy));
    rename(file, kPitfall);
  }
  GetCapturedStdout();
  const std::string base = std::string(kPitfall) + ".b";
  EXPECT_EQ(read_bytes(renamed(std::string(kPitfall) + ".bin")), copies[0]);
  EXPECT_EQ(read_bytes(duplicate(base + "in")), copies[1]);
  EXPECT_EQ(read_bytes(duplicate(base + "i0")), copies[2]);
  EXPECT_EQ(read_text(duplicate(base + "i1")), "the user's own");
  EXPECT_EQ(read_bytes(duplicate(base + "i2")), copies[3]);
  EXPECT_EQ(read_bytes(duplicate(base + "i3")), copies[4]);
  EXPECT_EQ(read_bytes(duplicate(base + "i4")), copies[5]);
  EXPECT_EQ(have(kPitfall), 6);
}
