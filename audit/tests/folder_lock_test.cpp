// The lock a run that may move files holds on its folder: the system's lock
// itself, and the built program meeting a folder another run holds.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "moving_run_fixture.h"
#include "system/file_system.h"
#include "test_support.h"

namespace {

// A lock is exclusive, a file made for it goes with it, a journal that was
// there stays, and a lock let go can be taken again.
TEST(FolderLockTest, ExclusiveAndLeavesNoFileOfItsOwn) {
  TempDir folder;
  const std::string journal = folder / "2600Undo.txt";
  SystemFileSystem disk;
  for (const bool journal_there : {false, true}) {
    if (journal_there) write_text(journal, "journal\n");
    LockHandle first;
    ASSERT_EQ(disk.lock(journal, first), FsStatus::ok);
    LockHandle second;
    EXPECT_EQ(disk.lock(journal, second), FsStatus::busy);
    EXPECT_EQ(second, nullptr);
    first.reset();
    EXPECT_EQ(file_exists(journal), journal_there);
    ASSERT_EQ(disk.lock(journal, second), FsStatus::ok);
  }
  EXPECT_EQ(read_text(journal), "journal\n");
}

struct BusyRow {
  std::vector<std::string> words;
  bool waits;  // says the folder is busy and leaves it as it was
};

// While another run holds the folder, a run that may move files says so
// and changes nothing; a plan and the read-only modes go on.
TEST_F(MovingRunTest, SecondRunInAHeldFolderSaysItIsBusy) {
  const BusyRow rows[] = {
      {{"rename"}, true},          {{"move"}, true},  {{"undo"}, true},
      {{"rename", "plan"}, false}, {{"list"}, false}, {{"scan"}, false},
  };
  add("pitfall.bin", kTicTacToe, 1);
  SystemFileSystem disk;
  for (const BusyRow& row : rows) {
    LockHandle held;
    ASSERT_EQ(disk.lock(sandbox.work("2600Undo.txt"), held), FsStatus::ok);
    const auto before = user_tree_of(sandbox.work_dir());
    const ProgramResult result = sandbox.run(row.words);
    const bool busy =
        result.out.find("Another Vald2600 run is busy in this folder") != std::string::npos;
    EXPECT_EQ(busy, row.waits) << row.words[0] << "\n" << result.out;
    EXPECT_EQ(result.exitCode, 0);
    if (row.waits) {
      EXPECT_EQ(user_tree_of(sandbox.work_dir()), before) << row.words[0];
    }
  }
  // Once the other run is over, the folder is free again.
  const ProgramResult result = sandbox.run({"rename"});
  EXPECT_EQ(result.out.find("busy"), std::string::npos) << result.out;
  EXPECT_TRUE(file_exists(ren(std::string(kTicTacToe) + ".bin"))) << result.out;
}

}  // namespace
