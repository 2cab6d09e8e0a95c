// The directory walk: which folders are entered, what the walk prints, and
// that it always comes back to where it was.

#include "scan/walk.h"
#include "test_disks.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "run/run_state.h"
#include "run_fixture.h"
#include "sample_images.h"
#include "system/file_system.h"
#include "test_support.h"

namespace {

constexpr std::uint32_t kCrc = 0x00c0ffee;  // not in the catalogue

std::string record(const std::string& name) {
  return "\"00c0ffee " + name + "\",\n";
}

class WalkTest : public ::testing::Test {
 protected:
  ValdSandbox sandbox;
  void add_image(const std::string& relative) {
    write_bytes(sandbox.work(relative), make_sample_image(kCrc, 2048));
  }
  std::string scan_log() const { return read_text(sandbox.work("2600Scan.txt")); }
};

TEST_F(WalkTest, ScanWithoutDStaysInTheStartFolder) {
  add_image("top.bin");
  make_dir(sandbox.work("sub"));
  add_image("sub/inner.bin");
  const ProgramResult result = sandbox.run({"scan"});
  EXPECT_EQ(scan_log(), record("top"));
  EXPECT_EQ(result.out.find(native("Scanning ./sub")), std::string::npos);
}

TEST_F(WalkTest, ScandDescendsAndLogsInTheStartFolder) {
  add_image("top.bin");
  make_dir(sandbox.work("sub/deeper"));
  add_image("sub/inner.bin");
  add_image("sub/deeper/bottom.a26");
  const ProgramResult result = sandbox.run({"scand"});
  // Every level is walked as ".", so a path shows one folder name only.
  EXPECT_NE(result.out.find(native("Scanning ./sub/*.bin.a26\n")), std::string::npos) << result.out;
  EXPECT_NE(result.out.find(native("Scanning ./deeper/*.bin.a26\n")), std::string::npos)
      << result.out;
  const std::string log = scan_log();
  for (const char* name : {"top", "inner", "bottom"}) {
    EXPECT_NE(log.find(record(name)), std::string::npos) << name;
  }
  EXPECT_FALSE(file_exists(sandbox.work("sub/2600Scan.txt")));
  EXPECT_FALSE(file_exists(sandbox.work("sub/deeper/2600Scan.txt")));
}

TEST_F(WalkTest, HiddenFoldersAreSkippedButHiddenFilesAreNot) {
  make_dir(sandbox.work(".hidden"));
  hide(sandbox.work(".hidden"));
  add_image(".hidden/secret.bin");
  add_image(".dotted.bin");
  for (const char* mode : {"scand", "scannewd"}) {
    std::remove(sandbox.work("2600Scan.txt").c_str());
    const ProgramResult result = sandbox.run({mode});
    EXPECT_EQ(scan_log(), record(".dotted")) << mode;
    EXPECT_EQ(result.out.find(".hidden"), std::string::npos) << mode;
  }
}

TEST_F(WalkTest, NamesInAnyScriptAreWalkedAndRecorded) {
  const std::string folder = "\xe3\x83\x95\xe3\x82\xa9\xe3\x83\xab\xe3\x83\x80";
  const std::string game = "Caf\xc3\xa9 \xf0\x9f\x95\xb9";
  make_dir(sandbox.work(folder));
  add_image(folder + "/" + game + ".bin");
  const ProgramResult result = sandbox.run({"scand"});
  EXPECT_EQ(scan_log(), record(game));
  EXPECT_NE(result.out.find(native("Scanning ./" + folder + "/*.bin.a26\n")), std::string::npos)
      << result.out;
}

TEST_F(WalkTest, LinksToFoldersAreNotFollowed) {
  TempDir elsewhere;
  write_bytes(elsewhere / "outside.bin", make_sample_image(kCrc, 2048));
  if (ON_WINDOWS) GTEST_SKIP() << "a symbolic link needs a privilege on Windows";
  std::filesystem::create_directory_symlink(elsewhere.path(), sandbox.work("linked"));
  std::filesystem::create_directory_symlink(".", sandbox.work("loop"));
  add_image("top.bin");
  const ProgramResult result = sandbox.run({"scand"});
  EXPECT_EQ(scan_log(), record("top"));
  EXPECT_EQ(result.out.find(native("Scanning ./l")), std::string::npos) << result.out;
}

// Makes `levels` nested folders named `level` under `top`, the deepest one
// holding deep.bin; returns false when that fails.
bool make_deep_image(const std::string& top, const std::string& level, int levels) {
  const auto bytes = make_sample_image(kCrc, 2048);
#ifdef _WIN32
  // The system layer reaches past the classic 260 characters.
  std::string path = top;
  for (int depth = 0; depth < levels; ++depth) {
    path = join_path(path, level);
    if (file_system().make_directory(path) != FsStatus::ok) return false;
  }
  FileHandle file;
  if (!file_system().open(join_path(path, "deep.bin"), "wb", file).ok()) return false;
  const bool written = file->write(bytes.data(), bytes.size()).ok();
  return file->close().ok() && written;
#else
  // Relative to open folders, so that the depth is past any path the system takes.
  int fd = open(top.c_str(), O_RDONLY | O_DIRECTORY);
  for (int depth = 0; depth < levels && fd >= 0; ++depth) {
    if (mkdirat(fd, level.c_str(), 0755) != 0) return false;
    const int child = openat(fd, level.c_str(), O_RDONLY | O_DIRECTORY);
    close(fd);
    fd = child;
  }
  if (fd < 0) return false;
  const int file = openat(fd, "deep.bin", O_CREAT | O_WRONLY, 0644);
  close(fd);
  const bool written =
      file >= 0 && write(file, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  return close(file) == 0 && written;
#endif
}

TEST_F(WalkTest, FoldersDeeperThanAnyPathAreWalkedAndLeftAgain) {
  // 30 levels of 200-character names: about 6,000 characters of path (on
  // Windows 5 levels, past its classic limit of 260).
  const std::string level(200, 'd');
  const int levels = ON_WINDOWS ? 5 : 30;
  ASSERT_TRUE(make_deep_image(sandbox.work_dir(), level, levels));
  // A sibling listed after the deep folder must still be found from the top.
  add_image("top.bin");
  add_image("zzz.bin");
  const ProgramResult result = sandbox.run({"scand"});
  const std::string log = scan_log();
  EXPECT_EQ(count_of(log, "\n"), 3) << log;
  EXPECT_NE(log.find(record("deep")), std::string::npos);
  EXPECT_NE(log.find(record("zzz")), std::string::npos);
  EXPECT_EQ(count_of(result.out, native("Scanning ./" + level + "/*.bin.a26\n")), levels);
}

TEST(NameHasExtensionTest, MatchesAnyListedExtensionAtTheEnd) {
  EXPECT_TRUE(name_has_extension(".bin.a26", "Game.BIN"));
  EXPECT_TRUE(name_has_extension(".bin.a26", "game.a26"));
  EXPECT_TRUE(name_has_extension(".bin.a26", ".bin"));
  EXPECT_FALSE(name_has_extension(".bin.a26", "game.bin.txt"));
  EXPECT_FALSE(name_has_extension(".bin.a26", "bin"));
  EXPECT_FALSE(name_has_extension(".bin.a26", ""));
  EXPECT_FALSE(name_has_extension(".bin.a26", "game.a2"));
  EXPECT_TRUE(name_has_extension(".zip", "x.ZiP"));
  EXPECT_FALSE(name_has_extension(".exe", "exe"));
}

// A file system whose listing differs from the disk, for what a real disk
// rarely shows: a file that shrank since it was listed, a folder that cannot
// be entered.
class ListingFileSystem : public PassingFileSystem {
 public:
  std::string fakedDirectory;
  std::vector<DirectoryEntry> listing;
  FsResult list_directory(const std::string& path, std::vector<DirectoryEntry>& entries) override {
    if (current_directory() != fakedDirectory)
      return PassingFileSystem::list_directory(path, entries);
    entries = listing;
    return {};
  }
};

class WalkSeamTest : public FreshRunTest {
 protected:
  ListingFileSystem listing;
  void SetUp() override {
    FreshRunTest::SetUp();
    listing.fakedDirectory = start_dir();
    use_file_system(&listing);
    run_state().options.scan = 1;
    run_state().options.scanDirs = 1;
  }
  ProgramResult walk() {
    ProgramResult result;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    walk_tree(walk_plan_of_run());
    close_tool_logs();
    result.out = testing::internal::GetCapturedStdout();
    result.err = testing::internal::GetCapturedStderr();
    return result;
  }
};

TEST_F(WalkSeamTest, FileShorterThanListedIsUnreadable) {
  write_bytes(in_start("shrunk.bin"), make_sample_image(kCrc, 2048));
  listing.listing = {{"shrunk.bin", false, false, 4096}};
  const ProgramResult result = walk();
  EXPECT_EQ(result.err, "Cannot open shrunk.bin\n");
  EXPECT_FALSE(file_exists(in_start("2600Scan.txt")));
}

TEST_F(WalkSeamTest, FolderThatCannotBeEnteredIsSkipped) {
  write_bytes(in_start("after.bin"), make_sample_image(kCrc, 2048));
  listing.listing = {{"gone", true, false, 0}, {"after.bin", false, false, 2048}};
  const ProgramResult result = walk();
  EXPECT_EQ(result.out, native("Scanning ./gone/*.bin.a26\n"));
  EXPECT_EQ(read_text(in_start("2600Scan.txt")), record("after"));
  EXPECT_EQ(current_directory(), start_dir());
}

}  // namespace
