#pragma once
// Rename-engine tests run in a fresh start folder, which is also the current
// directory, as in a rename or move run. Images are real files; several
// copies of one title have different bytes and the same forged CRC-32, so
// that a test can tell where each copy went.

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "catalogue/rom_database.h"
#include "naming/rename_engine.h"
#include "reports/reports.h"
#include "run/run_state.h"
#include "run_fixture.h"
#include "sample_images.h"
#include "system/file_system.h"
#include "test_disks.h"
#include "test_support.h"

inline const char kPitfall[] = "Pitfall! - Pitfall Harry's Jungle Adventure (1982) (Activision)";
inline const char kRiverRaid[] = "River Raid (1982) (Activision)";

// Refuses chosen folder creations and moves (by target path) with a chosen
// status; everything else goes to the real file system.
class RefusingFileSystem : public PassingFileSystem {
 public:
  std::map<std::string, FsStatus> refusedFolders;
  std::map<std::string, FsStatus> refusedTargets;
  FsStatus refuseEveryMove = FsStatus::ok;  // ok: refuse none

  FsResult make_directory(const std::string& path) override {
    const auto refused = refusedFolders.find(path);
    if (refused != refusedFolders.end()) return result_of(refused->second, path);
    return PassingFileSystem::make_directory(path);
  }
  FsResult move_file(const std::string& from, const std::string& to) override {
    if (refuseEveryMove != FsStatus::ok) return result_of(refuseEveryMove, to);
    const auto refused = refusedTargets.find(to);
    if (refused != refusedTargets.end()) return result_of(refused->second, to);
    return PassingFileSystem::move_file(from, to);
  }
};

class RenameTest : public FreshRunTest {
 protected:
  void SetUp() override {
    FreshRunTest::SetUp();
    db_prepare();
  }
  void TearDown() override {
    use_file_system(nullptr);
    FreshRunTest::TearDown();
  }

  RunOptions& options() { return run_state().options; }

  static int entry(const std::string& name) {
    const int index = catalogue_index_of(name);
    EXPECT_GE(index, 0) << name;
    return index;
  }

  static std::string crc_text_of(const std::string& name) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(catalogue_crc(entry(name))));
    return text;
  }

  // Writes a copy of the catalogued title `title` as `file`; returns its bytes.
  std::vector<unsigned char> put_image(const std::string& file, const std::string& title,
                                       std::uint32_t seed = 0) {
    const std::vector<unsigned char> bytes =
        make_sample_image(catalogue_crc(entry(title)), 4096, seed);
    EXPECT_TRUE(write_file(in_start(file), bytes));
    return bytes;
  }

  bool rename(const std::string& file, const std::string& title) {
    return rename_image(crc_text_of(title).c_str(), file.c_str());
  }

  int have(const std::string& title) { return rom_database().have[entry(title)]; }

  std::string renamed(const std::string& relative) { return in_start("2600Ren/" + relative); }
  std::string duplicate(const std::string& relative) { return in_start("2600Dupes/" + relative); }
};
