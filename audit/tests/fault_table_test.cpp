// Every call a run makes of the disk, failed in turn. list, scan, rename,
// rename dirs, move, undo and a DAT run go over a small mixed folder held in
// memory, once for each call of each kind that their clean run makes, with
// the errors a failing disk gives. After each run: no image is lost or
// doubled, Vald2600.db and 2600Undo.txt are the old file or a whole new one,
// the failure was said with the file and the reason, nothing was counted or
// recorded from a read that failed, and undo brings the folder back.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/run_driver.h"
#include "archive/archive_reader.h"
#include "run/run_state.h"
#include "run_fixture.h"
#include "sample_images.h"
#include "system/file_system.h"
#include "system/tool_file_names.h"
#include "test_disks.h"
#include "test_support.h"
#include "zip_test_support.h"

namespace {

constexpr char kPitfall[] = "Pitfall! - Pitfall Harry's Jungle Adventure (1982) (Activision)";
constexpr char kRiverRaid[] = "River Raid (1982) (Activision)";
constexpr char kPacMan[] = "Pac-Man (1982) (Atari)";
constexpr char kEarlier[] = "Kaboom! (1981) (Activision)";  // in Vald2600.db from before

struct Mode {
  const char* name;
  std::vector<std::string> words;
  bool moves;           // undo must bring the folder back afterwards
  bool afterRename;     // runs on the folder a clean rename left
  bool copies = false;  // images stay and may be held once more, never partly
};

const std::vector<Mode>& modes() {
  static const std::vector<Mode> table = {
      {"list", {"list"}, false, false},
      {"scan", {"scan"}, false, false},
      {"rename", {"rename", "changes"}, true, false},
      {"rename dirs", {"rename", "dirs"}, true, false},
      {"move", {"move"}, true, false},
      {"undo", {"undo"}, true, true},
      {"dat", {"list", "dat=catalogue.dat", "fixdat"}, false, false},
      {"copy", {"copy"}, true, false, true},
  };
  return table;
}

// The errors each kind of call is failed with.
std::vector<int> errors_for(DiskCall kind) {
  switch (kind) {
    case DiskCall::openWrite:
    case DiskCall::write:
    case DiskCall::sync:
    case DiskCall::close:
    case DiskCall::makeFolder:
    case DiskCall::replace:
      return {EIO, ENOSPC, EACCES};
    case DiskCall::openRead:
    case DiskCall::list:
    case DiskCall::move:
    case DiskCall::removeFolder:
    case DiskCall::lock:
      return {EIO, EACCES};
    default:
      return {EIO};
  }
}

std::string text_of(const std::vector<unsigned char>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

std::string image_of(const char* title, std::uint32_t seed) {
  return text_of(make_sample_image(catalogue_crc(catalogue_index_of(title)), 4096, seed));
}

std::string last_name(const std::string& path) {
  const std::size_t separator = path.find_last_of("/\\");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string big_endian(std::uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
          static_cast<char>(value >> 8), static_cast<char>(value)};
}

class FaultTableTest : public FreshRunTest {
 protected:
  void SetUp() override {
    FreshRunTest::SetUp();
    program_ = executable_directory();
    base_.set_root(start_dir());
    base_.put_folder(start_dir());
    base_.put_folder(program_);
    base_.put_folder(home_dir());
    put_image("pitfall.bin", image_of(kPitfall, 1), kPitfall);
    put_image("pitfall copy.bin", image_of(kPitfall, 2), kPitfall);
    put_image("mystery.bin", text_of(make_sample_image(0x12345678, 2048, 3)), "");
    ziptest::ZipBuilder zip;
    zip.add("game.bin", make_sample_image(catalogue_crc(catalogue_index_of(kRiverRaid)), 4096, 4),
            true);
    zip.add("readme.txt", {'h', 'i', '\n'}, false);
    put_image("river.zip", text_of(zip.build()), kRiverRaid);
    put_seven_zip();
    oldDatabase_ = std::string("VALD") + big_endian(1) +
                   big_endian(catalogue_crc(catalogue_index_of(kEarlier)));
    base_.put(program_ + HAVE_DATABASE_NAME, oldDatabase_);
    base_.put(program_ + INFO_FILE_NAME, "[A2600]\n(Activision):Activision\n(Atari):Atari;a26\n");
    base_.put("catalogue.dat", dat_text());
    // Reports an earlier run left, which a failing run keeps whole.
    base_.put(HAVE_REPORT_NAME,
              std::string(" You have 1 of 1544 known Atari 2600 ROMS\n\n") + kEarlier + "\n");
    base_.put(MISS_REPORT_NAME, " You are missing 0 of 1544 known Atari 2600 ROMS\n\n");
  }

  void put_image(const std::string& name, const std::string& bytes, const std::string& title) {
    base_.put(name, bytes);
    images_[name] = bytes;
    titles_[name] = title;
  }

  // A 7z archive, when this build reads them and 7-Zip is at hand.
  void put_seven_zip() {
    std::string seven = ziptest::find_on_path("7z");
    if (seven.empty()) seven = ziptest::find_on_path("7zz");
    if (ON_WINDOWS || seven.empty() || !libarchive_available()) return;
    TempDir folder;
    write_bytes(folder / "game.a26",
                make_sample_image(catalogue_crc(catalogue_index_of(kPacMan)), 4096, 5));
    ziptest::shell(folder.path(), seven + " a -bso0 pacman.7z game.a26");
    put_image("pacman.7z", text_of(read_bytes(folder / "pacman.7z")), kPacMan);
  }

  std::string dat_text() const {
    std::string text;
    for (const char* title : {kPitfall, kRiverRaid, kPacMan}) {
      char crc[9];
      std::snprintf(crc, sizeof crc, "%08x", catalogue_crc(catalogue_index_of(title)));
      text += std::string("game ( name \"") + title + "\" rom ( name \"" + title +
              ".bin\" size 4096 crc " + crc + " ) )\n";
    }
    return text;
  }

  std::string run(MemoryFileSystem& disk, const std::vector<std::string>& words) {
    reset_run_state();
    std::vector<const char*> arguments{"Vald2600"};
    for (const std::string& word : words) arguments.push_back(word.c_str());
    use_file_system(&disk);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    run_vald(static_cast<int>(arguments.size()), arguments.data());
    std::string console = testing::internal::GetCapturedStdout();
    console += testing::internal::GetCapturedStderr();
    use_file_system(nullptr);
    reset_run_state();
    EXPECT_TRUE(file_system().change_directory(start_dir()).ok());
    return console;
  }

  MemoryFileSystem start_of(const Mode& mode) {
    MemoryFileSystem disk = base_;
    if (mode.afterRename) run(disk, {"rename"});
    disk.reset_calls();
    return disk;
  }

  // What is wrong with `disk` after a run of `mode` that failed as
  // `disk.failed_path()` and `error` say; empty when nothing is.
  std::vector<std::string> problems(const Mode& mode, MemoryFileSystem& disk,
                                    const MemoryFileSystem& before, DiskCall kind, int error,
                                    const std::string& console) {
    std::vector<std::string> found;
    check_images_kept(mode, disk, found);
    check_database(disk, before, found);
    check_reports(disk, before, found);
    check_journal(disk, before, found);
    check_said(disk, kind, error, console, found);
    check_nothing_counted(disk, kind, found);
    if (mode.moves) check_undo(mode, disk, found);
    return found;
  }

  // A copy run keeps every source and adds at most one whole copy; no
  // temporary file of a copy outlives the run.
  void check_images_kept(const Mode& mode, const MemoryFileSystem& disk,
                         std::vector<std::string>& found) const {
    for (const auto& [name, bytes] : images_) {
      int copies = 0;
      for (const auto& [path, held] : disk.files()) copies += held == bytes ? 1 : 0;
      const bool kept = mode.copies ? disk.bytes(name) == bytes && copies <= 2 : copies == 1;
      if (!kept) found.push_back(name + " is held " + std::to_string(copies) + " times");
    }
    for (const auto& [path, held] : disk.files()) {
      if (path.ends_with(".vald-copy")) found.push_back(path + " was left behind");
    }
  }

  void check_database(const MemoryFileSystem& disk, const MemoryFileSystem& before,
                      std::vector<std::string>& found) const {
    const std::string path = program_ + HAVE_DATABASE_NAME;
    const std::string now = disk.bytes(path);
    if (now == before.bytes(path)) return;
    const bool whole =
        now.size() >= 8 && now.starts_with(oldDatabase_.substr(0, 8)) && (now.size() - 8) % 4 == 0;
    if (!whole || now.find(oldDatabase_.substr(8)) == std::string::npos)
      found.push_back("Vald2600.db is neither the old one nor a whole new one");
  }

  // Whether a have or miss report holds as many names as its headline counts.
  static bool whole_report(const std::string& text) {
    int counted = -1;
    if (std::sscanf(text.c_str(), " You have %d of", &counted) != 1 &&
        std::sscanf(text.c_str(), " You are missing %d of", &counted) != 1)
      return false;
    const std::size_t names = text.find("\n\n");
    if (names == std::string::npos || text.back() != '\n') return false;
    return std::count(text.begin() + static_cast<long>(names) + 2, text.end(), '\n') == counted;
  }

  void check_reports(const MemoryFileSystem& disk, const MemoryFileSystem& before,
                     std::vector<std::string>& found) const {
    for (const char* name : {HAVE_REPORT_NAME, MISS_REPORT_NAME}) {
      const std::string now = disk.bytes(name);
      if (now != before.bytes(name) && !whole_report(now))
        found.push_back(std::string(name) + " is neither the old one nor a whole new one");
    }
  }

  void check_journal(const MemoryFileSystem& disk, const MemoryFileSystem& before,
                     std::vector<std::string>& found) const {
    const std::string old = before.bytes(UNDO_JOURNAL_NAME);
    const std::string now = disk.bytes(UNDO_JOURNAL_NAME);
    if (now == old) return;
    if (!now.starts_with(old) || now.back() != '\n')
      found.push_back("2600Undo.txt is neither the old one nor the old one with whole lines");
  }

  // Whether the failure was answered by a line the tool has always printed
  // for it, which names the file but gives no reason.
  static bool said_as_ever(DiskCall kind, int error, const std::string& leaf,
                           const std::string& console) {
    const auto has = [&](const std::string& text) {
      return console.find(text) != std::string::npos;
    };
    switch (kind) {
      case DiskCall::openRead:
        return has("Cannot open " + leaf + "\n") ||
               has("Error in zipfile " + leaf + "\nYour filesystem seems to be corrupt") ||
               has(leaf + " Using Defaults");
      case DiskCall::makeFolder:
        return has("Error creating dir: '");
      case DiskCall::openWrite:  // a folder that refuses a file sends it to the next
        return error == EACCES;
      case DiskCall::move:  // access denied is a name in use, as it always was
        return error == EACCES && has("already exists");
      case DiskCall::lock:  // a folder that refuses the lock refuses the journal too
        return error == EACCES;
      case DiskCall::readAhead:  // a hint that fails costs nothing but time
        return true;
      default:
        return false;
    }
  }

  void check_said(const MemoryFileSystem& disk, DiskCall kind, int error,
                  const std::string& console, std::vector<std::string>& found) const {
    const std::string& path = disk.failed_path();
    if (path.empty()) return;  // the failing call was not made this time
    std::string leaf = last_name(path);
    if (leaf.ends_with(".tmp")) leaf.resize(leaf.size() - 4);  // a replacement's name
    const bool fell_back = console.find("Using default log: ") != std::string::npos &&
                           console.find(leaf) != std::string::npos;
    const bool said = console.find(leaf) != std::string::npos &&
                      console.find(error_text(error)) != std::string::npos;
    if (!said && !fell_back && !said_as_ever(kind, error, leaf, console))
      found.push_back("not said with the file and the reason:\n" + console);
  }

  void check_nothing_counted(const MemoryFileSystem& disk, DiskCall kind,
                             std::vector<std::string>& found) const {
    const std::string leaf = last_name(disk.failed_path());
    const bool read_failed =
        kind == DiskCall::openRead || kind == DiskCall::read || kind == DiskCall::seek;
    if (!read_failed || images_.count(leaf) == 0) return;
    if (!disk.has(leaf)) found.push_back(leaf + " was moved although it was not read");
    const std::string record = "\"" + leaf.substr(0, leaf.rfind('.'));
    if (disk.bytes(SCAN_LOG_NAME).find(record) != std::string::npos)
      found.push_back(leaf + " was recorded although it was not read");
    const std::string& title = titles_.at(leaf);
    const bool other_copy = leaf.starts_with("pitfall");
    if (!title.empty() && !other_copy &&
        disk.bytes(HAVE_REPORT_NAME).find(title) != std::string::npos)
      found.push_back(leaf + " was counted although it was not read");
  }

  void check_undo(const Mode& mode, MemoryFileSystem& disk, std::vector<std::string>& found) {
    MemoryFileSystem after = disk;
    const std::string console = run(after, {"undo"});
    for (const auto& [name, bytes] : images_) {
      if (after.bytes(name) != bytes ||
          (mode.copies && !after.files().empty() &&
           std::count_if(after.files().begin(), after.files().end(),
                         [&](const auto& file) { return file.second == bytes; }) != 1)) {
        found.push_back("undo did not bring " + name + " back:\n" + console);
        return;
      }
    }
  }

  MemoryFileSystem base_;
  std::string program_;
  std::string oldDatabase_;
  std::map<std::string, std::string> images_;  // name: bytes
  std::map<std::string, std::string> titles_;  // name: catalogue title, "" for none
};

TEST_F(FaultTableTest, EveryFailedCallIsSaidAndLosesNothing) {
  int runs = 0;
  int failed_calls = 0;
  std::vector<std::string> report;
  for (const Mode& mode : modes()) {
    const MemoryFileSystem start = start_of(mode);
    MemoryFileSystem clean = start;
    const std::string clean_console = run(clean, mode.words);
    for (const std::string& problem : problems(mode, clean, start, DiskCall::list, 0, ""))
      report.push_back(std::string(mode.name) + ", clean run: " + problem);
    for (int kind_number = 0; kind_number < DISK_CALL_KINDS; ++kind_number) {
      const auto kind = static_cast<DiskCall>(kind_number);
      for (int n = 1; n <= clean.calls(kind); ++n) {
        ++failed_calls;
        for (const int error : errors_for(kind)) {
          MemoryFileSystem disk = start;
          disk.fail(kind, n, error);
          const std::string console = run(disk, mode.words);
          ++runs;
          for (const std::string& problem : problems(mode, disk, start, kind, error, console)) {
            report.push_back(std::string(mode.name) + ", " + disk_call_name(kind) + " " +
                             std::to_string(n) + " (" + disk.failed_path() + ") failing with " +
                             error_text(error) + ": " + problem);
          }
        }
      }
    }
  }
  std::printf("fault table: %d calls failed in %d runs of %zu modes over %zu images\n",
              failed_calls, runs, modes().size(), images_.size());
  for (std::size_t at = 0; at < report.size() && at < 40; ++at) ADD_FAILURE() << report[at];
  EXPECT_TRUE(report.empty()) << report.size() << " problems";
}

}  // namespace
