// An archive met by the walk is opened once for all the passes over it, and
// its members are read in one pass whatever their compression: counted
// through the disk seam, per archive kind and mode.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/run_driver.h"
#include "archive/archive_reader.h"
#include "run_fixture.h"
#include "sample_images.h"
#include "test_disks.h"
#include "zip_test_support.h"

namespace {

// Counts the opens of files whose name ends in `name`. The program's own
// folder, the build's, takes no file: the have database goes to the start
// folder instead.
class CountingOpens : public PassingFileSystem {
 public:
  explicit CountingOpens(std::string name) : name_(std::move(name)) {}
  FsResult open(const std::string& path, const char* mode, FileHandle& file,
                bool wholeReads) override {
    if (path.starts_with(executable_directory())) return fs_access_denied(path);
    if (path.ends_with(name_)) ++opens;
    return PassingFileSystem::open(path, mode, file, wholeReads);
  }
  int opens = 0;

 private:
  std::string name_;
};

struct PassCase {
  const char* what;
  const char* made;  // the command that makes `archive` of game1.bin game2.bin game3.bin
  const char* archive;
  const char* mode;
  int opens;  // one for the listing and the own reader, one for each libarchive handle
};

const PassCase PASS_CASES[] = {
    {"bzip2 pack listed",
     "python3 -c \"import zipfile as z; a = z.ZipFile('p.zip', 'w', "
     "z.ZIP_BZIP2); [a.write(f'game{i}.bin') for i in (1, 2, 3)]\"",
     "p.zip", "list", 2},
    {"bzip2 pack copied",
     "python3 -c \"import zipfile as z; a = z.ZipFile('p.zip', 'w', "
     "z.ZIP_BZIP2); [a.write(f'game{i}.bin') for i in (1, 2, 3)]\"",
     "p.zip", "copy", 2},
    {"deflated image scanned",
     "python3 -c \"import zipfile as z; z.ZipFile('one.zip', 'w', "
     "z.ZIP_DEFLATED).write('game1.bin')\"",
     "one.zip", "scan", 1},
    {"7z pack listed", "%7z a -bso0 p.7z game1.bin game2.bin game3.bin", "p.7z", "list", 2},
};

class ArchivePassesTest : public FreshRunTest, public testing::WithParamInterface<PassCase> {};

TEST_P(ArchivePassesTest, OneOpenServesEveryPass) {
  const PassCase& row = GetParam();
  std::string command = row.made;
  if (const std::size_t at = command.find("%7z"); at != std::string::npos) {
    std::string seven = ziptest::find_on_path("7z");
    if (seven.empty()) seven = ziptest::find_on_path("7zz");
    if (seven.empty()) GTEST_SKIP() << "no 7z or 7zz command";
    command.replace(at, 3, seven);
  }
  if (ON_WINDOWS || !libarchive_available() || ziptest::find_on_path("python3").empty())
    GTEST_SKIP() << "needs libarchive, python3 and 7-Zip";
  TempDir source;
  for (int index = 1; index <= 3; ++index) {
    const int title = catalogue_index_of(index == 1   ? "Pac-Man (1982) (Atari)"
                                         : index == 2 ? "Adventure + (2003) (Homebrew)"
                                                      : "Ms. Pac-Man (1982) (Atari)");
    write_bytes(source / ("game" + std::to_string(index) + ".bin"),
                make_sample_image(catalogue_crc(title), 4096, index));
  }
  ziptest::shell(source.path(), command + " && mv " + row.archive + " '" + start_dir() + "'");
  CountingOpens disk(row.archive);
  use_file_system(&disk);
  const char* argv[] = {"Vald2600", row.mode};
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  run_vald(2, argv);
  const std::string out = testing::internal::GetCapturedStdout();
  testing::internal::GetCapturedStderr();
  use_file_system(nullptr);
  EXPECT_EQ(disk.opens, row.opens) << out;
  EXPECT_EQ(out.find("Error"), std::string::npos) << out;
  if (std::string(row.mode) == "list") {
    EXPECT_NE(out.find("You have 3 of"), std::string::npos) << out;
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, ArchivePassesTest, testing::ValuesIn(PASS_CASES),
                         [](const auto& info) { return ziptest::row_name(info.param.what); });

}  // namespace
