// The walk's read-ahead: it stays within its window and hints only files the
// walk reads, and whole runs print and write the same bytes with it and
// without it, also while other programs change the folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/run_driver.h"
#include "archive/archive_reader.h"
#include "moving_run_fixture.h"
#include "run/run_state.h"
#include "run_fixture.h"
#include "sample_images.h"
#include "scan/identify.h"
#include "scan/walk.h"
#include "scan/walk_read_ahead.h"
#include "test_disks.h"
#include "zip_test_support.h"

namespace {

namespace fs = std::filesystem;
using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

// A disk in memory that notes each file hinted (true) and each file opened
// to read (false), in order.
class RecordingDisk : public MemoryFileSystem {
 public:
  std::vector<std::pair<bool, std::string>> events;

  FsResult open(const std::string& path, const char* mode, FileHandle& file,
                bool wholeReads) override {
    if (mode[0] == 'r') events.push_back({false, path});
    return MemoryFileSystem::open(path, mode, file, wholeReads);
  }
  void read_ahead(const std::vector<ReadAheadFile>& files) override {
    for (const ReadAheadFile& file : files) events.push_back({true, file.path});
    MemoryFileSystem::read_ahead(files);
  }
};

class ReadAheadTest : public FreshRunTest {};

// Small images fill the window by count, the largest by bytes; the files
// after them are never read whole, but for one archive (two with 7z).
TEST_F(ReadAheadTest, StaysWithinItsWindowAndAsksOnlyForWhatTheWalkReads) {
  std::map<std::string, std::size_t> sizes = {{"big.bin", MAX_IMAGE_SIZE + 1},
                                              {"big.zip", 2 * READ_AHEAD_ARCHIVE_LIMIT},
                                              {"notes.txt", 4096},
                                              {"small.a26", MIN_IMAGE_SIZE - 1},
                                              {"z.7z", 900},
                                              {"z.zip", 5000}};
  for (int index = 100; index < 250; ++index) sizes["a" + std::to_string(index) + ".bin"] = 4096;
  for (int index = 100; index < 180; ++index) {
    sizes["b" + std::to_string(index) + ".a26"] = MAX_IMAGE_SIZE;
  }
  RecordingDisk disk;
  for (const auto& [name, size] : sizes) disk.put(name, std::string(size, 'x'));
  disk.put("sub/inner.bin", std::string(4096, 'x'));  // in a folder the walk skips
  use_file_system(&disk);
  run_state().options.list = run_state().options.rename = 1;
  ASSERT_TRUE(grow_image_buffer(MAX_IMAGE_SIZE));
  CaptureStdout();
  CaptureStderr();
  walk_tree(walk_plan_of_run());
  GetCapturedStdout();
  GetCapturedStderr();
  use_file_system(nullptr);

  std::set<std::string> ahead, opened;
  std::uint64_t bytes = 0, most_bytes = 0;
  std::size_t hinted = 0, most_files = 0;
  for (const auto& [hint, path] : disk.events) {
    if (!hint) {
      opened.insert(path);
      if (ahead.erase(path) != 0) bytes -= sizes[path];
      continue;
    }
    ++hinted;
    EXPECT_EQ(opened.count(path), 0u) << path << " hinted after it was read";
    EXPECT_TRUE(ahead.insert(path).second) << path << " hinted twice";
    bytes += sizes[path];
    most_files = std::max(most_files, ahead.size());
    most_bytes = std::max(most_bytes, bytes);
  }
  EXPECT_TRUE(ahead.empty()) << *ahead.begin() << " hinted and never read";
  EXPECT_EQ(hinted, 150 + 80 + 1 + (libarchive_available() ? 1 : 0));
  EXPECT_EQ(disk.calls(DiskCall::readAhead), static_cast<int>(hinted));
  EXPECT_EQ(most_files, READ_AHEAD_FILES);
  EXPECT_LE(most_bytes, READ_AHEAD_BYTES);
  EXPECT_GT(most_bytes, READ_AHEAD_BYTES - MAX_IMAGE_SIZE);
}

// The real disk as a run meets it while other programs work on the folder.
// Listings come sorted, so that what happens falls between a file's hint and
// its read: when the walk opens "a.bin", "i.bin" vanishes, "j.bin" gets the
// bytes of another image and "k.bin" appears. "h.bin" cannot be opened. The
// test program's own folder is closed to the run, so that the database
// lands in the start folder and nothing is written into the build tree.
class ShiftingDisk : public PassingFileSystem {
 public:
  std::set<std::string> hintedBeforeChange;

  FsResult list_directory(const std::string& path, std::vector<DirectoryEntry>& entries) override {
    FsResult listed = PassingFileSystem::list_directory(path, entries);
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
    return listed;
  }
  FsResult open(const std::string& path, const char* mode, FileHandle& file,
                bool wholeReads) override {
    if ((!program_.empty() && path.rfind(program_, 0) == 0) || path == "h.bin")
      return result_of(FsStatus::accessDenied, path);
    if (path == "a.bin" && !changed_) change_folder();
    return PassingFileSystem::open(path, mode, file, wholeReads);
  }
  void read_ahead(const std::vector<ReadAheadFile>& files) override {
    for (const ReadAheadFile& file : files) {
      if (!changed_) hintedBeforeChange.insert(file.path);
    }
    PassingFileSystem::read_ahead(files);
  }

 private:
  void change_folder() {
    changed_ = true;
    fs::remove("i.bin");
    write_bytes("j.bin", make_sample_image(catalogue_crc(catalogue_index_of(kAdventure)), 4096, 9));
    write_bytes("k.bin", make_sample_image(0x0badf00d, 4096, 10));
  }

  const std::string program_ = executable_directory();
  bool changed_ = false;
};

// A mixed folder: loose images known, unknown and not an image at all,
// archives whole and damaged, one file that cannot be read, a subfolder.
void make_mixed_folder(const std::string& folder) {
  const auto at = [&](const std::string& name) { return join_path(folder, native(name)); };
  const std::uint32_t known = catalogue_crc(catalogue_index_of(kTicTacToe));
  write_bytes(at("a copy.bin"), make_sample_image(known, 4096, 1));
  write_bytes(at("a.bin"), make_sample_image(known, 4096, 2));
  write_bytes(at("b.a26"), make_sample_image(0x00c0ffee, 4096, 3));
  ziptest::ZipBuilder zip;
  zip.add("game.bin", make_sample_image(catalogue_crc(catalogue_index_of(kAdventure)), 4096, 4),
          true);
  write_bytes(at("c.zip"), zip.build());
  write_text(at("d.7z"), "7z, cut short");
  write_text(at("f.zip"), "PK, and then nothing");
  write_bytes(at("g.bin"), make_foreign_image(known, 4096));
  write_bytes(at("h.bin"), make_sample_image(known, 4096, 5));
  write_bytes(at("i.bin"), make_sample_image(0x00decade, 4096, 6));
  write_bytes(at("j.bin"), make_sample_image(0x00facade, 4096, 7));
  make_dir(at("sub"));
  write_bytes(at("sub/l.bin"), make_sample_image(known, 2048, 8));
  write_bytes(at("sub/m.zip"), zip.build());
}

struct RunRecord {
  std::string out, err;
  std::map<std::string, std::string> files;  // every file of the start folder
};

class SameRunTest : public FreshRunTest,
                    public testing::WithParamInterface<std::vector<std::string>> {
 protected:
  void TearDown() override {
    enable_read_ahead(true);
    FreshRunTest::TearDown();
  }

  // Runs the tool with `words` on a fresh mixed folder, not yet in the cache.
  RunRecord run(bool readAhead, ShiftingDisk& disk) {
    for (const auto& entry : fs::directory_iterator(start_dir())) fs::remove_all(entry.path());
    make_mixed_folder(start_dir());
    drop_from_cache(start_dir());
    enable_read_ahead(readAhead);
    use_file_system(&disk);
    reset_run_state();
    std::vector<const char*> argv{"Vald2600"};
    for (const std::string& word : GetParam()) argv.push_back(word.c_str());
    RunRecord record;
    CaptureStdout();
    CaptureStderr();
    run_vald(static_cast<int>(argv.size()), argv.data());
    record.out = GetCapturedStdout();
    record.err = GetCapturedStderr();
    use_file_system(nullptr);
    const std::regex time("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ");
    for (const auto& entry : fs::recursive_directory_iterator(start_dir())) {
      if (!entry.is_regular_file()) continue;
      record.files[fs::relative(entry.path(), start_dir()).string()] =
          std::regex_replace(read_text(entry.path().string()), time, "TIME");
    }
    return record;
  }
};

TEST_P(SameRunTest, PrintsAndWritesTheSameWithAndWithoutReadAhead) {
  ShiftingDisk serial_disk, ahead_disk;
  const RunRecord serial = run(false, serial_disk);
  const RunRecord ahead = run(true, ahead_disk);
  EXPECT_EQ(serial.out, ahead.out);
  EXPECT_EQ(serial.err, ahead.err);
  EXPECT_EQ(serial.files, ahead.files);
  // The changes fell between the hints and the reads.
  for (const char* name : {"h.bin", "i.bin", "j.bin"}) {
    EXPECT_EQ(ahead_disk.hintedBeforeChange.count(name), 1u) << name;
  }
  EXPECT_NE(serial.err.find("Cannot open i.bin\n"), std::string::npos) << serial.err;
}

INSTANTIATE_TEST_SUITE_P(Modes, SameRunTest,
                         testing::Values(std::vector<std::string>{"scand"},
                                         std::vector<std::string>{"list"},
                                         std::vector<std::string>{"rename", "changes"},
                                         std::vector<std::string>{"move", "plan"}),
                         [](const testing::TestParamInfo<std::vector<std::string>>& info) {
                           return info.param[0];
                         });

}  // namespace
