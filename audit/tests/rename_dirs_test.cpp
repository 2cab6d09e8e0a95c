// The dirs option: group folders from ValdInfo.cfg under 2600Ren, their
// tags as extensions, and the cases that stay flat.

#include <string>

#include "naming/info_config.h"
#include "rename_fixture.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

class RenameDirsTest : public RenameTest {
 protected:
  void SetUp() override {
    RenameTest::SetUp();
    options().dirs = 1;
  }
  void load(const std::string& section_lines) {
    write_text(in_program(INFO_FILE_NAME), "[A2600]\n" + section_lines);
    CaptureStdout();
    load_info_config();
    GetCapturedStdout();
    ASSERT_TRUE(run_state().info.loaded);
  }
  std::string rename_quietly(const std::string& file, const std::string& title) {
    CaptureStdout();
    rename(file, title);
    return GetCapturedStdout();
  }
};

TEST_F(RenameDirsTest, WithoutALoadedConfigurationRenamingIsFlat) {
  const auto bytes = put_image("pit.BIN", kPitfall);
  rename_quietly("pit.BIN", kPitfall);
  EXPECT_EQ(read_bytes(renamed(std::string(kPitfall) + ".bin")), bytes);
  EXPECT_EQ(list_names(in_start("2600Ren")).size(), 1u);
}

TEST_F(RenameDirsTest, GroupFolderAndTagDecideWhereAndUnderWhichExtension) {
  load("(Activision)*River:Activision\\River;riv\n(1982):Eighty-Two\n");
  const auto river = put_image("river.bin", kRiverRaid);
  const auto pitfall = put_image("pit.BIN", kPitfall);
  const std::string out =
      rename_quietly("river.bin", kRiverRaid) + rename_quietly("pit.BIN", kPitfall);
  EXPECT_EQ(out,
            native("Creating Activision/River/          Creating Eighty-Two/                \n"));
  EXPECT_EQ(read_bytes(renamed("Activision/River/" + std::string(kRiverRaid) + ".riv")), river);
  // A group without a tag keeps the file's own extension, lower-cased.
  EXPECT_EQ(read_bytes(renamed("Eighty-Two/" + std::string(kPitfall) + ".bin")), pitfall);
}

TEST_F(RenameDirsTest, ImageMatchingNoGroupGoesFlat) {
  load("(PAL):PAL;pal\n");
  const auto bytes = put_image("river.A26", kRiverRaid);
  rename_quietly("river.A26", kRiverRaid);
  EXPECT_EQ(read_bytes(renamed(std::string(kRiverRaid) + ".a26")), bytes);
  EXPECT_EQ(list_names(in_start("2600Ren")),
            (std::vector<std::string>{"PAL", std::string(kRiverRaid) + ".a26"}));
}

TEST_F(RenameDirsTest, MoveStaysFlatAndCreatesNoGroupFolders) {
  load("(Activision):Act;act\n");
  options().move = 1;
  options().rename = 1;
  const auto bytes = put_image("river.bin", kRiverRaid);
  EXPECT_EQ(rename_quietly("river.bin", kRiverRaid), "");
  EXPECT_EQ(read_bytes(renamed("river.bin")), bytes);
  EXPECT_EQ(list_names(in_start("2600Ren")), std::vector<std::string>{"river.bin"});
}

TEST_F(RenameDirsTest, DuplicateOfAGroupedImageGoesFlatIntoDupes) {
  load("(Activision):Act;act\n");
  put_image("a.bin", kRiverRaid, 1);
  const auto second = put_image("b.BIN", kRiverRaid, 2);
  rename_quietly("a.bin", kRiverRaid);
  rename_quietly("b.BIN", kRiverRaid);
  EXPECT_TRUE(file_exists(renamed("Act/" + std::string(kRiverRaid) + ".act")));
  EXPECT_EQ(read_bytes(duplicate(std::string(kRiverRaid) + ".BIN")), second);
}

TEST_F(RenameDirsTest, GroupFoldersAreMadeOnceEachAndAnnouncedTwoToALine) {
  load("a:One\nb:Two/Deep\nc:One/\nd:Three\n");
  CaptureStdout();
  EXPECT_TRUE(create_group_dirs());
  EXPECT_EQ(GetCapturedStdout(),
            native("Creating One/                       Creating Two/Deep/                  \n"
                   "Creating Three/                     \n"));
  EXPECT_EQ(list_names(in_start("2600Ren")), (std::vector<std::string>{"One", "Three", "Two"}));
  EXPECT_EQ(list_names(in_start("2600Ren/Two")), std::vector<std::string>{"Deep"});
}

TEST_F(RenameDirsTest, GroupFoldersGetNamesEverySystemCanOpen) {
  load("a:Aux/Proto. \nb:..\n");
  options().quiet = 1;
  EXPECT_TRUE(create_group_dirs());
  EXPECT_EQ(list_names(in_start("2600Ren")), (std::vector<std::string>{"Aux_", "_"}));
  EXPECT_EQ(list_names(in_start("2600Ren/Aux_")), std::vector<std::string>{"Proto"});
}

TEST_F(RenameDirsTest, GroupFolderThatCannotBeCreatedStopsTheCreation) {
  load("a:One\nb:Two/Deep\nc:Three\n");
  RefusingFileSystem refusing;
  refusing.refusedFolders[native("2600Ren/Two")] = FsStatus::accessDenied;
  use_file_system(&refusing);
  options().quiet = 1;
  CaptureStderr();
  EXPECT_FALSE(create_group_dirs());
  EXPECT_EQ(GetCapturedStderr(), native("Error creating dir: '2600Ren/Two'\n"));
  EXPECT_EQ(list_names(in_start("2600Ren")), std::vector<std::string>{"One"});

  // The image meant for the missing folder stays where it is.
  const auto bytes = put_image("x.bin", kPitfall);
  load("(1982):Two/Deep\n");
  run_state().rename.targetPrepared = true;
  rename_quietly("x.bin", kPitfall);
  EXPECT_EQ(read_bytes(in_start("x.bin")), bytes);
}

}  // namespace
