// The plan modifier: a rename or move run that says what it would do, line
// for line as the real run, and changes nothing on disk.

#include <cstdio>
#include <string>
#include <vector>

#include "app/moving_run.h"
#include "moving_run_fixture.h"
#include "naming/info_config.h"
#include "rename_fixture.h"
#include "reports/reports.h"
#include "run/run_state.h"
#include "scan/walk.h"
#include "test_disks.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

std::string plan_line(int moves) {
  return "Plan only: " + std::to_string(moves) + " files would move, nothing was changed.\n";
}

// Moves the journal says were made.
int journal_moves(const std::string& journal) {
  return count_of(journal, "\nmove ") - count_of(journal, "\nfailed\n");
}

struct PlanCase {
  const char* what;
  std::vector<std::string> words;
};

// A collection with names already taken: the first target of one title,
// and the first duplicate name of another, so counter names come in.
void build_collection(const ValdSandbox& sandbox) {
  write_text(sandbox.program("ValdInfo.cfg"), "[A2600]\n(Atari):Atari\\Early;a26\n");
  add_image(sandbox, "one.bin", kTicTacToe, 1);
  add_image(sandbox, "two.BIN", kTicTacToe, 2);
  add_image(sandbox, "three 3.bin", kTicTacToe, 3);
  add_image(sandbox, "adventure.a26", kAdventure, 4);
  make_dir(sandbox.work("2600Ren"));
  make_dir(sandbox.work("2600Dupes"));
  write_text(sandbox.work("2600Ren/") + kAdventure + ".a26", "the user's own");
  write_text(sandbox.work("2600Dupes/") + kTicTacToe + ".bin", "also the user's");
}

TEST(PlanRunTest, PlanPrintsTheRealRunsLinesAndChangesNothing) {
  const std::vector<PlanCase> cases = {
      {"rename", {"rename", "changes"}},
      {"group folders", {"rename", "dirs"}},
      {"move", {"move", "dirs"}},
  };
  for (const PlanCase& row : cases) {
    ValdSandbox sandbox;
    build_collection(sandbox);

    const auto before = tree_of(sandbox.work_dir(), true);
    std::vector<std::string> planned_words = row.words;
    planned_words.push_back("plan");
    const ProgramResult plan = sandbox.run(planned_words);
    EXPECT_EQ(tree_of(sandbox.work_dir(), true), before) << row.what;
    EXPECT_EQ(list_names(sandbox.program_dir()),
              std::vector<std::string>({program_file_name(), "ValdInfo.cfg"}));
    EXPECT_TRUE(list_names(sandbox.home_dir()).empty()) << row.what;

    const ProgramResult real = sandbox.run(row.words);
    EXPECT_EQ(plan.out,
              real.out + plan_line(journal_moves(read_text(sandbox.work("2600Undo.txt")))))
        << row.what;
    EXPECT_EQ(plan.err, real.err) << row.what;
    EXPECT_NE(tree_of(sandbox.work_dir()), before) << row.what;
  }
}

TEST_F(MovingRunTest, PlanWithAnotherModeIsIgnoredWithANotice) {
  add("one.bin", kTicTacToe, 1);
  const ProgramResult list = sandbox.run({"list"});
  std::remove(sandbox.program("Vald2600.db").c_str());  // each run counts from nothing
  std::remove(sandbox.work("2600Have.txt").c_str());
  const ProgramResult planned = sandbox.run({"list", "plan"});
  EXPECT_EQ(planned.out,
            "plan only works with rename, move, copy and undo; it was ignored.\n" + list.out);
  EXPECT_EQ(sandbox.run({"plan"}).out, sandbox.run({}).out);  // no mode: usage as ever
}

// A target folder the run may not write into, through the seam: the real
// run meets "access denied" and sends the images to 2600Dupes; the plan
// must foresee it.
class ReadOnlyFolder : public PassingFileSystem {
 public:
  bool blocks(const std::string& path) const { return path.rfind(native("2600Ren/"), 0) == 0; }
  FsResult move_file(const std::string& from, const std::string& to) override {
    if (blocks(to)) return result_of(FsStatus::accessDenied, to);
    return PassingFileSystem::move_file(from, to);
  }
  bool allows_changes(const std::string& path) override {
    return path != "2600Ren" && PassingFileSystem::allows_changes(path);
  }
};

void walk_only() {
  ASSERT_TRUE(grow_image_buffer(5 * 1024 * 1024));
  walk_tree(walk_plan_of_run());
  close_tool_logs();
}

std::string run_captured(bool plan) {
  const ToolDirectories directories = run_state().directories;
  reset_run_state();
  run_state().directories = directories;
  run_state().options.rename = 1;
  run_state().options.plan = plan ? 1 : 0;
  db_prepare();
  CaptureStdout();
  run_moving_walk(walk_only);
  return GetCapturedStdout();
}

TEST_F(RenameTest, PlanForeseesAFolderThatRefusesTheMove) {
  make_dir(in_start("2600Ren"));
  put_image("pit.bin", kPitfall);
  put_image("river.bin", kRiverRaid);
  ReadOnlyFolder read_only;
  use_file_system(&read_only);
  const auto before = tree_of(start_dir(), true);
  const std::string plan = run_captured(true);
  EXPECT_EQ(tree_of(start_dir(), true), before);
  const std::string real = run_captured(false);
  EXPECT_EQ(count_of(real, "already exists"), 2) << real;
  EXPECT_EQ(list_names(in_start("2600Dupes")).size(), 2u);
  EXPECT_EQ(plan, real + plan_line(2));
}

}  // namespace

namespace {

// Over a disk held in memory, a planned rename reads the images and makes
// not one call that could change a file or a folder.
TEST_F(RenameTest, PlanMakesNoWritingCallOnTheDisk) {
  MemoryFileSystem disk;
  for (const auto& [file, title] :
       {std::pair{"pit.bin", kPitfall}, {"river.bin", kRiverRaid}, {"pit copy.bin", kPitfall}}) {
    const auto bytes = make_sample_image(catalogue_crc(entry(title)), 4096, 0);
    disk.put(file, std::string(bytes.begin(), bytes.end()));
  }
  use_file_system(&disk);
  const std::string plan = run_captured(true);
  use_file_system(nullptr);
  EXPECT_NE(plan.find(plan_line(3)), std::string::npos) << plan;
  EXPECT_EQ(disk.writing_calls(), 0);
  EXPECT_GE(disk.calls(DiskCall::openRead), 3);
  EXPECT_EQ(disk.calls(DiskCall::readAhead), 2);  // the plan reads ahead as the run does
  EXPECT_EQ(disk.files().size(), 3u);
}

}  // namespace
