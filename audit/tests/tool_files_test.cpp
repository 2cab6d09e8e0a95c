#include "files/tool_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "run/run_state.h"
#include "run_fixture.h"
#include "system/file_system.h"
#include "test_support.h"

namespace {

class ToolFilesTest : public FreshRunTest {
 protected:
  // Opens, writes `text` and closes; returns what went to standard error.
  static std::string append(const char* name, const std::string& text) {
    testing::internal::CaptureStderr();
    FileHandle file;
    if (open_tool_file(run_state().directories, name, "a", file).ok()) {
      EXPECT_TRUE(write_text(*file, text).ok());
    }
    return testing::internal::GetCapturedStderr();
  }
};

TEST_F(ToolFilesTest, DatabaseGoesToTheProgramFolder) {
  FileHandle file;
  ASSERT_TRUE(open_tool_file(run_state().directories, "Vald2600.db", "wb", file).ok());
  EXPECT_TRUE(file_exists(in_program("Vald2600.db")));
  EXPECT_FALSE(file_exists(in_start("Vald2600.db")));
}

TEST_F(ToolFilesTest, TextFilesGoToTheStartFolderWhateverTheCurrentFolder) {
  make_dir(in_start("sub/deeper"));
  ASSERT_TRUE(file_system().change_directory(in_start("sub/deeper")).ok());
  EXPECT_EQ(append("2600Scan.txt", "one\n"), "");
  EXPECT_EQ(append("2600Scan.txt", "two\n"), "");
  EXPECT_EQ(read_text(in_start("2600Scan.txt")), "one\ntwo\n");
  EXPECT_FALSE(file_exists(in_start("sub/deeper/2600Scan.txt")));
  EXPECT_FALSE(file_exists(in_program("2600Scan.txt")));
}

TEST_F(ToolFilesTest, FallsBackToHomeAndSaysSo) {
  if (ON_WINDOWS) GTEST_SKIP() << "Windows falls back to C:\\, not to $HOME";
  // A start folder that has gone away cannot take the log.
  run_state().directories.start = start_dir() + "/gone";
  EXPECT_EQ(append("2600Log.txt", "line\n"), "Using default log: " + in_home("2600Log.txt") + "\n");
  EXPECT_EQ(read_text(in_home("2600Log.txt")), "line\n");
}

TEST_F(ToolFilesTest, HomeWithoutClosingSeparatorGetsOne) {
  if (ON_WINDOWS) GTEST_SKIP() << "Windows falls back to C:\\, not to $HOME";
  run_state().directories.start = start_dir() + "/gone";
  set_environment("HOME", home_dir() + PATH_SEPARATOR);
  EXPECT_EQ(append("Vald_ZIP.txt", "x\n"), "Using default log: " + in_home("Vald_ZIP.txt") + "\n");
}

TEST_F(ToolFilesTest, NoHomeMeansNoThirdCandidate) {
  if (ON_WINDOWS) GTEST_SKIP() << "Windows falls back to C:\\, not to $HOME";
  run_state().directories.start = start_dir() + "/gone";
  set_environment("HOME", "");
  testing::internal::CaptureStderr();
  FileHandle file;
  EXPECT_FALSE(open_tool_file(run_state().directories, "2600Log.txt", "a", file).ok());
  unset_environment("HOME");
  EXPECT_FALSE(open_tool_file(run_state().directories, "2600Log.txt", "a", file).ok());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(ToolFilesTest, ReadingAMissingFileFindsNothing) {
  testing::internal::CaptureStderr();
  FileHandle file;
  EXPECT_TRUE(open_tool_file(run_state().directories, "2600Have.txt", "r", file).missing());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(JoinPathTest, AddsOneSeparatorOnlyWhenNeeded) {
  EXPECT_EQ(join_path(native("/"), "a.txt"), native("/a.txt"));
  EXPECT_EQ(join_path(native("/roms"), "a.txt"), native("/roms/a.txt"));
  EXPECT_EQ(join_path(native("/roms/"), "a.txt"), native("/roms/a.txt"));
}

}  // namespace
