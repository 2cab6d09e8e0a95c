// Whole runs of the built program over a sample collection: what moves
// where, what is counted, and that no byte of the user's files is lost.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "sample_images.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

// Contents of every file below `folder` that the tool did not write itself.
std::vector<std::string> user_file_contents(const std::string& folder) {
  static const std::vector<std::string> tool_files = {
      "2600Have.txt", "2600Miss.txt", "2600Dupes.txt", "2600Log.txt",
      "2600Scan.txt", "Vald_ZIP.txt", "2600Undo.txt"};
  std::vector<std::string> contents;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file() || std::count(tool_files.begin(), tool_files.end(), name))
      continue;
    contents.push_back(read_text(entry.path().string()));
  }
  std::sort(contents.begin(), contents.end());
  return contents;
}

class CollectionRunTest : public ::testing::Test {
 protected:
  ValdSandbox sandbox;
  const int title = catalogue_index_of("3-D Tic-Tac-Toe (1978) (Atari) (PAL)");
  const int other_title = catalogue_index_of("Adventure + (2003) (Homebrew)");

  void SetUp() override {
    ASSERT_GE(title, 0);
    ASSERT_GE(other_title, 0);
  }
  void add_image(const std::string& relative, std::uint32_t crc, std::uint32_t seed) {
    write_bytes(sandbox.work(relative), make_sample_image(crc, 4096, seed));
  }
  std::string ren(const std::string& name) const { return sandbox.work("2600Ren/" + name); }
};

TEST_F(CollectionRunTest, RenameKeepsEveryByteAndLeavesSubfoldersAlone) {
  add_image("pitfall.BIN", catalogue_crc(title), 1);
  add_image("copy two.bin", catalogue_crc(title), 2);
  add_image("copy three.bin", catalogue_crc(title), 3);
  add_image("adventure.a26", catalogue_crc(other_title), 4);
  add_image("unknown.bin", 0x00c0ffee, 5);
  write_bytes(sandbox.work("notes.bin"), make_foreign_image(catalogue_crc(title), 4096));
  make_dir(sandbox.work("sub"));
  add_image("sub/inside.bin", catalogue_crc(title), 6);
  // A file of the user's own already holds the first target name.
  make_dir(sandbox.work("2600Ren"));
  write_text(ren(catalogue_name(other_title) + ".a26"), "the user's own file");
  const auto before = user_file_contents(sandbox.work_dir());

  const ProgramResult result = sandbox.run({"rename", "changes"});

  EXPECT_EQ(user_file_contents(sandbox.work_dir()), before);
  EXPECT_TRUE(file_exists(ren(catalogue_name(title) + ".bin")));
  EXPECT_EQ(read_text(ren(catalogue_name(other_title) + ".a26")), "the user's own file");
  EXPECT_TRUE(file_exists(sandbox.work("2600Dupes/" + catalogue_name(other_title) + ".a26")));
  EXPECT_EQ(list_names(sandbox.work("2600Dupes")).size(), 3u);  // two copies and the displaced one
  for (const char* stays : {"unknown.bin", "notes.bin", "sub/inside.bin"}) {
    EXPECT_TRUE(file_exists(sandbox.work(stays))) << stays;
  }
  EXPECT_EQ(result.out.find(native("Scanning ./sub")), std::string::npos);
  EXPECT_NE(result.out.find(catalogue_name(title) + " [3 copies]\n"), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("You have 2 of 1544 known Atari 2600 ROMS\n"), std::string::npos);
  EXPECT_NE(result.out.find("You are missing 1542 of 1544 known Atari 2600 ROMS\n"),
            std::string::npos);
  EXPECT_EQ(count_of(read_text(sandbox.work("2600Log.txt")), "\n"), 4);
  EXPECT_TRUE(file_exists(sandbox.program("Vald2600.db")));
  EXPECT_FALSE(file_exists(sandbox.work("Vald2600.db")));
}

TEST_F(CollectionRunTest, WhatYouHaveCarriesOverToTheNextRun) {
  add_image("first.bin", catalogue_crc(title), 1);
  sandbox.run({"rename"});
  ASSERT_TRUE(file_exists(ren(catalogue_name(title) + ".bin")));

  // The next run finds another copy in a fresh folder: had, but one copy found.
  add_image("again.bin", catalogue_crc(title), 2);
  const ProgramResult result = sandbox.run({"list", "changes"});
  EXPECT_EQ(result.out.find("Found Vald2600.db, Ignoring 2600Have.txt\n"),
            result.out.find("Found"));
  EXPECT_NE(result.out.find("Found Vald2600.db, Ignoring 2600Have.txt\n"), std::string::npos);
  EXPECT_NE(result.out.find("N: \"" + catalogue_name(title) + "\"  O: \"again\"\n"),
            std::string::npos);
  EXPECT_NE(result.out.find("You have 1 of 1544"), std::string::npos);
  EXPECT_EQ(result.out.find("Multiple copies"), std::string::npos) << result.out;
  EXPECT_TRUE(file_exists(sandbox.work("again.bin")));  // list moves nothing
  EXPECT_EQ(read_text(sandbox.work("2600Have.txt")),
            " You have 1 of 1544 known Atari 2600 ROMS\n\n" + catalogue_name(title) + "\n");
}

// The dupes list counts the copies a run finds, never the title an earlier
// run remembered: each run of a row prints (and appends) the same lines, and
// the first copy still goes to 2600Ren, a second to 2600Dupes.
TEST_F(CollectionRunTest, DupesCountOnlyTheCopiesOfThisRun) {
  struct Row {
    const char* what;
    int copies;  // of `title`, beside one copy of `other_title`
    std::vector<std::vector<std::string>> runs;
  };
  const Row rows[] = {
      {"single copies, list twice", 1, {{"list"}, {"list"}}},
      {"two copies, list twice", 2, {{"list"}, {"list"}}},
      {"single copies, rename, undo, rename", 1, {{"rename"}, {"undo"}, {"rename"}}},
      {"two copies, rename, undo, rename", 2, {{"rename"}, {"undo"}, {"rename"}}},
  };
  const std::string have = "You have 2 of 1544 known Atari 2600 ROMS\n\n";
  const std::string dupes_line = catalogue_name(title) + " [2 copies]\n";
  for (const Row& row : rows) {
    const ValdSandbox box;
    for (int copy = 0; copy < row.copies; ++copy) {
      write_bytes(box.work("copy" + std::to_string(copy) + ".bin"),
                  make_sample_image(catalogue_crc(title), 4096, copy + 1));
    }
    write_bytes(box.work("other.a26"), make_sample_image(catalogue_crc(other_title), 4096, 9));
    const std::string dupes = row.copies > 1 ? dupes_line : "";
    std::string dupes_file;
    for (const auto& words : row.runs) {
      const ProgramResult result = box.run(words);
      if (words[0] == "undo") continue;
      dupes_file += dupes;
      const std::size_t at = result.out.find(have);
      ASSERT_NE(at, std::string::npos) << row.what << ":\n" << result.out;
      EXPECT_EQ(result.out.substr(at + have.size()),
                dupes.empty() ? "" : "Multiple copies of the following were found:\n" + dupes)
          << row.what;
      EXPECT_EQ(read_text(box.work("2600Dupes.txt")), dupes_file) << row.what;
      if (words[0] != "rename") continue;
      EXPECT_TRUE(file_exists(box.work("2600Ren/" + catalogue_name(title) + ".bin"))) << row.what;
      EXPECT_EQ(list_names(box.work("2600Dupes")).size(), std::size_t(row.copies - 1)) << row.what;
    }
  }
}

TEST_F(CollectionRunTest, ListdCountsImagesInSubfolders) {
  make_dir(sandbox.work("a/b"));
  add_image("a/b/deep.bin", catalogue_crc(title), 1);
  const ProgramResult result = sandbox.run({"listd"});
  EXPECT_NE(result.out.find(native("Scanning ./a/*.bin.a26\nScanning ./b/*.bin.a26\n")),
            std::string::npos);
  EXPECT_NE(result.out.find("You have 1 of 1544"), std::string::npos);
  EXPECT_TRUE(file_exists(sandbox.work("a/b/deep.bin")));
}

TEST_F(CollectionRunTest, DirsFilesIntoTheGroupsOfTheConfigurationBesideTheProgram) {
  write_text(sandbox.program("ValdInfo.cfg"),
             "[A2600]\r\n(PAL):Europe/PAL;pal\r\n(Homebrew):New\\Home\r\n(HES):HES;;N\r\n");
  add_image("tictactoe.bin", catalogue_crc(title), 1);
  add_image("adventure.a26", catalogue_crc(other_title), 2);
  const ProgramResult result = sandbox.run({"rename", "dirs", "sep_"});
  std::string underscored = catalogue_name(title);
  std::replace(underscored.begin(), underscored.end(), ' ', '_');
  EXPECT_TRUE(file_exists(ren("Europe/PAL/" + underscored + ".pal"))) << result.out;
  std::string other = catalogue_name(other_title);
  std::replace(other.begin(), other.end(), ' ', '_');
  EXPECT_TRUE(file_exists(ren("New/Home/" + other + ".a26")));
  // The unwanted group is left out of the miss list and counted apart; the
  // first matching group decides, so HES images from Europe stay wanted.
  int unwanted = 0;
  for (int index = 0; index < 1544; ++index) {
    const std::string name = catalogue_name(index);
    if (name.find("(HES)") != std::string::npos && name.find("(PAL)") == std::string::npos)
      ++unwanted;
  }
  ASSERT_GT(unwanted, 0);
  const std::string headline = "You are missing " + std::to_string(1542 - unwanted) +
                               " of 1544 known Atari 2600 ROMS (" + std::to_string(unwanted) +
                               " excluded)\n";
  EXPECT_NE(result.out.find(headline), std::string::npos) << result.out;
}

}  // namespace
