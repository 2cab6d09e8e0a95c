// The real file system under the tool: folder creation and moves report
// what happened, a move never replaces a file, and listings carry sizes,
// the hidden mark and names in any script, also past Windows' classic
// 260-character limit.

#include "system/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_disks.h"
#include "test_support.h"

namespace {

class FileSystemTest : public ::testing::Test {
 protected:
  TempDir root;
  FileSystem& real = file_system();
};

TEST_F(FileSystemTest, MovesNeverReplaceAndSayWhyTheyFailed) {
  write_text(root / "a.bin", "a");
  write_text(root / "taken.bin", "taken");
  const struct {
    const char* from;
    const char* to;
    FsStatus status;
  } rows[] = {
      {"a.bin", "taken.bin", FsStatus::alreadyExists},
      {"a.bin", "missing/a.bin", FsStatus::failed},  // a group folder that is not there
      {"gone.bin", "b.bin", FsStatus::failed},
      {"a.bin", "b.bin", FsStatus::ok},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(real.move_file(root / row.from, root / row.to), row.status) << row.to;
  }
  EXPECT_EQ(read_text(root / "taken.bin"), "taken");
  EXPECT_EQ(read_text(root / "b.bin"), "a");
  EXPECT_FALSE(file_exists(root / "a.bin"));
}

TEST_F(FileSystemTest, FoldersAreMadeOnceAndNeedTheirParent) {
  EXPECT_EQ(real.make_directory(root / "2600Ren"), FsStatus::ok);
  EXPECT_EQ(real.make_directory(root / "2600Ren"), FsStatus::alreadyExists);
  EXPECT_EQ(real.make_directory(root / "none/Deep"), FsStatus::failed);
}

TEST_F(FileSystemTest, ListingsCarrySizesHiddenMarksAndNamesInAnyScriptAtAnyLength) {
  // Four levels of 100 characters: past 260 characters of path everywhere.
  std::string folder = root.path();
  for (const char letter : {'a', 'b', 'c', 'd'}) {
    folder = join_path(folder, std::string(100, letter));
    ASSERT_EQ(real.make_directory(folder), FsStatus::ok);
  }
  const std::string unicode =
      "Pitfall! \xc3\xa9\xc3\xa8 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x95\xb9.bin";
  FileHandle file = open_through(real, join_path(folder, unicode), "wb");
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(file->write("0123456789", 10).ok());
  ASSERT_TRUE(file->close().ok());
  // Windows hides by attribute, whatever the name; POSIX by the leading dot.
  const std::string hidden = ON_WINDOWS ? "Attic" : ".attic";
  ASSERT_EQ(real.make_directory(join_path(folder, hidden)), FsStatus::ok);
  hide(join_path(folder, hidden));
  ASSERT_EQ(real.make_directory(join_path(folder, "Open")), FsStatus::ok);
  ASSERT_EQ(real.move_file(join_path(folder, unicode), join_path(folder, "Open/" + unicode)),
            FsStatus::ok);
  ASSERT_EQ(real.move_file(join_path(folder, "Open/" + unicode), join_path(folder, unicode)),
            FsStatus::ok);

  std::vector<DirectoryEntry> entries;
  ASSERT_TRUE(real.list_directory(folder, entries).ok());
  std::sort(entries.begin(), entries.end(),
            [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, hidden);
  EXPECT_TRUE(entries[0].isDirectory && entries[0].isHidden);
  EXPECT_EQ(entries[1].name, "Open");
  EXPECT_TRUE(entries[1].isDirectory && !entries[1].isHidden);
  EXPECT_EQ(entries[2].name, unicode);
  EXPECT_FALSE(entries[2].isDirectory || entries[2].isHidden);
  EXPECT_EQ(entries[2].size, 10u);
}

}  // namespace
