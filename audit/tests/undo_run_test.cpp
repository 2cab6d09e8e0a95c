// The undo journal and the undo mode over whole runs: runs stopped at any
// point, runs taken back one after another, files that changed since, names
// of any bytes, and journals that cannot be trusted or written.

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <string>
#include <vector>

#include "app/moving_run.h"
#include "app/undo_mode.h"
#include "moving_run_fixture.h"
#include "rename_fixture.h"
#include "run/run_state.h"
#include "scan/walk.h"
#include "test_disks.h"

namespace {

#ifndef _WIN32
// Ends the process, as a kill would, when the run asks for its move after
// the first `moves`.
class StoppingFileSystem : public PassingFileSystem {
 public:
  explicit StoppingFileSystem(int moves) : left_(moves) {}
  FsResult move_file(const std::string& from, const std::string& to) override {
    if (left_-- == 0) _exit(0);
    return PassingFileSystem::move_file(from, to);
  }

 private:
  int left_;
};

#endif

using UndoStopTest = RenameTest;

TEST_F(UndoStopTest, RunStoppedAfterAnyMoveIsTakenBackWhole) {
#ifdef _WIN32
  GTEST_SKIP() << "stopping a run mid-way needs fork, which Windows lacks";
#else
  const std::vector<std::string> names = {"a.bin", "b.bin", "c.BIN", "d.bin", "e.bin"};
  for (int moves : {0, 1, 3, 4}) {
    for (std::size_t at = 0; at < names.size(); ++at) {
      put_image(names[at], at % 2 ? kPitfall : kRiverRaid, static_cast<std::uint32_t>(at));
    }
    const auto before = tree_of(start_dir());
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      std::freopen("/dev/null", "w", stdout);
      StoppingFileSystem stopping(moves);
      use_file_system(&stopping);
      run_state().options.rename = 1;
      grow_image_buffer(5 * 1024 * 1024);
      run_moving_walk([] { walk_tree(walk_plan_of_run()); });
      _exit(1);  // not stopped: the test is wrong
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << moves;
    testing::internal::CaptureStdout();
    run_undo();
    testing::internal::GetCapturedStdout();
    auto after = tree_of(start_dir());
    after.erase("2600Undo.txt");
    EXPECT_EQ(after, before) << "stopped after " << moves << " moves";
    std::remove(in_start("2600Undo.txt").c_str());
  }
#endif
}

TEST_F(MovingRunTest, KilledRunIsTakenBackWhole) {
#ifdef _WIN32
  GTEST_SKIP() << "killing a run mid-way needs fork and signals, which Windows lacks";
#else
  for (int at = 0; at < 3000; ++at) {
    add("rom" + std::to_string(at) + ".bin", at % 2 ? kTicTacToe : kAdventure,
        static_cast<std::uint32_t>(at));
  }
  const auto before = user_tree_of(sandbox.work_dir());
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (chdir(sandbox.work_dir().c_str()) == 0 && std::freopen("/dev/null", "w", stdout) &&
        std::freopen("/dev/null", "w", stderr)) {
      execl(sandbox.program("Vald2600").c_str(), "Vald2600", "rename", nullptr);
    }
    _exit(127);
  }
  // Kill it once a good part of the moves is on record.
  int status = 0;
  while (journal().size() < 5'000 && waitpid(child, &status, WNOHANG) == 0) usleep(200);
  kill(child, SIGKILL);
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status)) << "the run ended before it was killed";
  const ProgramResult undo = sandbox.run({"undo"});
  EXPECT_EQ(count_of(undo.out, "; 0 left as they are."), 1) << undo.out;
  EXPECT_EQ(user_tree_of(sandbox.work_dir()), before);
#endif
}

TEST_F(MovingRunTest, UndoTakesBackOneRunAtATimeNewestFirst) {
  EXPECT_NE(sandbox.run({"undo"}).out.find("Nothing to undo: there is no 2600Undo.txt here.\n"),
            std::string::npos);
  add("first.bin", kTicTacToe, 1);
  const auto original = user_tree_of(sandbox.work_dir());
  sandbox.run({"rename"});
  add("second.a26", kAdventure, 2);
  const auto after_first = user_tree_of(sandbox.work_dir());
  sandbox.run({"move"});
  auto both_back = original;
  both_back["second.a26"] = after_first.at("second.a26");
  const std::vector<std::pair<std::map<std::string, std::string>, std::string>> steps = {
      {after_first, "Undoing the move run of "}, {both_back, "Undoing the rename run of "}};
  for (const auto& [tree, line] : steps) {
    const std::string out = sandbox.run({"undo"}).out;
    EXPECT_NE(out.find(line), std::string::npos) << out;
    EXPECT_NE(out.find("Restored 1 files; 0 left as they are.\n"), std::string::npos) << out;
    EXPECT_EQ(user_tree_of(sandbox.work_dir()), tree);
  }
  EXPECT_NE(sandbox.run({"undo"}).out.find("Nothing to undo: every run in 2600Undo.txt was undone"),
            std::string::npos);
  EXPECT_NE(sandbox.run({"undo", "move"}).err.find("Cannot use more than one"), std::string::npos);
}

TEST_F(MovingRunTest, NamesOfAnyBytesGoBack) {
  if (ON_WINDOWS)
    GTEST_SKIP() << "Windows names hold no quote, control character or non-UTF-8 byte";
  const std::vector<std::string> names = {"with space.bin", "quote\"'.bin", "tab\there.bin",
                                          "new\nline.bin", "\xff\xfe not UTF-8.a26"};
  for (std::size_t at = 0; at < names.size(); ++at) {
    add(names[at], at % 2 ? kTicTacToe : kAdventure, static_cast<std::uint32_t>(at));
  }
  const auto before = user_tree_of(sandbox.work_dir());
  sandbox.run({"move"});
  EXPECT_EQ(list_names(sandbox.work("2600Ren")).size(), names.size());
  EXPECT_NE(sandbox.run({"undo"}).out.find("Restored 5 files; 0 left"), std::string::npos);
  EXPECT_EQ(user_tree_of(sandbox.work_dir()), before);
}

TEST_F(MovingRunTest, UndoLeavesFilesThatChangedSinceAndSaysWhy) {
  add("taken.bin", kTicTacToe, 1);
  add("resized.a26", kAdventure, 2);
  add("gone.bin", kRiverRaid, 3);
  sandbox.run({"rename"});
  write_text(sandbox.work("taken.bin"), "a new file under the old name");
  write_text(ren(std::string(kAdventure) + ".a26"), "shorter now");
  std::remove(ren(std::string(kRiverRaid) + ".bin").c_str());
  const std::string out = sandbox.run({"undo"}).out;
  const std::string tic = native("2600Ren/") + kTicTacToe + ".bin";
  EXPECT_NE(out.find("Restored 0 files; 3 left as they are:\n"), std::string::npos) << out;
  EXPECT_NE(out.find("  " + tic + " -> taken.bin: its old name is in use\n"), std::string::npos)
      << out;
  EXPECT_NE(out.find(" -> resized.a26: its size is not the one the run moved\n"), std::string::npos)
      << out;
  EXPECT_NE(out.find(" -> gone.bin: it is no longer where the run put it\n"), std::string::npos)
      << out;
  EXPECT_EQ(read_text(sandbox.work("taken.bin")), "a new file under the old name");
  EXPECT_TRUE(file_exists(sandbox.work(tic)));  // 2600Ren, not empty, stays too
}

TEST_F(MovingRunTest, DamagedJournalMovesNothingAndUnwritableJournalStopsTheRun) {
  add("one.bin", kTicTacToe, 1);
  sandbox.run({"rename"});
  write_text(sandbox.work("2600Undo.txt"), journal() + "move 12 half\n");
  const auto renamed = tree_of(sandbox.work_dir());
  EXPECT_NE(sandbox.run({"undo"}).out.find("2600Undo.txt: line 5 cannot be read"),
            std::string::npos);
  EXPECT_EQ(tree_of(sandbox.work_dir()), renamed);

  ValdSandbox other;
  add_image(other, "one.bin", kTicTacToe, 1);
  make_dir(other.work("2600Undo.txt"));
  const ProgramResult run = other.run({"rename"});
  EXPECT_NE(run.err.find("Cannot lock"), std::string::npos) << run.err;
  EXPECT_TRUE(file_exists(other.work("one.bin")));
}

}  // namespace
