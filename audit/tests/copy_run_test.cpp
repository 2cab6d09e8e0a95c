// The copy mode end to end, over a tree with a ZIP and a 7z pack (folders,
// catalogued and unknown members, two copies of one title, a non-image, a
// pack inside the pack), a one-image archive and loose images: what lands,
// what stays, a second run, undo, and what a run stopped midway leaves.

#if __has_include(<archive.h>)  // the packs are made with libarchive
#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <utility>

#include "archive/archive_reader.h"
#include "moving_run_fixture.h"

namespace {

constexpr char kPacMan[] = "Pac-Man (1982) (Atari)";
constexpr char kMsPacMan[] = "Ms. Pac-Man (1982) (Atari)";
constexpr char kRiverRaid[] = "Marineflieger - River Raid II (1983) (Quelle) (PAL)";

using Bytes = std::vector<unsigned char>;
using Members = std::vector<std::pair<std::string, Bytes>>;

Bytes image(const std::string& title, std::uint32_t seed) {
  return make_sample_image(catalogue_crc(catalogue_index_of(title)), 4096, seed);
}

void write_archive(const std::string& path, bool sevenZip, const Members& members) {
  archive* out = archive_write_new();
  sevenZip ? archive_write_set_format_7zip(out) : archive_write_set_format_zip(out);
  archive_write_open_filename(out, path.c_str());
  for (const auto& [name, bytes] : members) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, name.c_str());
    archive_entry_set_size(entry, static_cast<la_int64_t>(bytes.size()));
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_write_header(out, entry);
    archive_write_data(out, bytes.data(), bytes.size());
    archive_entry_free(entry);
  }
  archive_write_close(out);
  archive_write_free(out);
}

class CopyRunTest : public MovingRunTest {
 protected:
  void SetUp() override {
    if (ON_WINDOWS || !libarchive_available()) GTEST_SKIP() << "packs are made with libarchive";
    const Bytes text = {'h', 'i', '\n'};
    write_archive(sandbox.work("inner.zip"), false, {{"game.bin", image(kMsPacMan, 1)}});
    const Bytes inner = read_bytes(sandbox.work("inner.zip"));
    std::remove(sandbox.work("inner.zip").c_str());
    write_archive(sandbox.work("pack.zip"), false,
                  {{"Atari/A/tic.BIN", image(kTicTacToe, 1)},
                   {"Atari/again/tic.bin", image(kTicTacToe, 1)},  // the same title twice
                   {"Homebrew/adv.a26", image(kAdventure, 1)},
                   {"unknown.bin", make_foreign_image(0x5a000001, 4096)},
                   {"readme.txt", text},
                   {"inner.zip", inner}});
    write_archive(sandbox.work("pack.7z"), true,
                  {{"Other/adv.a26", image(kAdventure, 2)},  // other bytes, same name
                   {"Other/pac.bin", image(kPacMan, 1)},
                   {"Other/unknown.a26", make_foreign_image(0x5a000002, 4096)}});
    make_dir(sandbox.work("sub"));
    make_dir(sandbox.work("sub/deeper"));
    make_dir(sandbox.work(".hidden"));
    write_bytes(sandbox.work("sub/deeper/river.bin"), image(kRiverRaid, 1));
    write_bytes(sandbox.work(".hidden/ms.bin"), image(kMsPacMan, 1));
    write_archive(sandbox.work("sub/one.zip"), false, {{"ms.bin", image(kMsPacMan, 1)}});
    before = user_tree_of(sandbox.work_dir());
  }

  std::map<std::string, std::string> before;
};

TEST_F(CopyRunTest, CopiesEveryCatalogedImageOnceAndUndoLeavesTheTreeAsItWas) {
  const ProgramResult copied = sandbox.run({"copy"});
  EXPECT_EQ(read_bytes(ren(std::string(kTicTacToe) + ".bin")), image(kTicTacToe, 1));
  EXPECT_EQ(read_bytes(ren(std::string(kPacMan) + ".bin")), image(kPacMan, 1));
  EXPECT_EQ(read_bytes(ren(std::string(kRiverRaid) + ".bin")), image(kRiverRaid, 1));
  EXPECT_EQ(read_bytes(ren(std::string(kMsPacMan) + ".zip")),
            read_bytes(sandbox.work("sub/one.zip")));
  const Bytes adventure = read_bytes(ren(std::string(kAdventure) + ".a26"));
  const Bytes duplicate = read_bytes(sandbox.work("2600Dupes/" + std::string(kAdventure) + ".a26"));
  EXPECT_NE(adventure, duplicate);
  EXPECT_TRUE(adventure == image(kAdventure, 1) || adventure == image(kAdventure, 2));
  EXPECT_EQ(list_names(sandbox.work("2600Ren")).size(), 5u) << copied.out;
  EXPECT_EQ(count_of(copied.out, "Already there"), 1) << copied.out;
  EXPECT_EQ(count_of(copied.out, "inner.zip in pack.zip"), 1) << copied.out;
  auto after = user_tree_of(sandbox.work_dir());
  for (auto entry = after.begin(); entry != after.end();) {
    entry = entry->first.rfind("2600", 0) == 0 ? after.erase(entry) : std::next(entry);
  }
  EXPECT_EQ(after, before);  // the sources as they were

  const auto copies = tree_of(sandbox.work("2600Ren"));
  EXPECT_NE(sandbox.run({"copy"}).out.find("Copied 0 files"), std::string::npos);
  EXPECT_EQ(tree_of(sandbox.work("2600Ren")), copies);
  const ProgramResult planned = sandbox.run({"undo", "plan"});
  EXPECT_NE(planned.out.find("Would remove 6 copies"), std::string::npos) << planned.out;
  EXPECT_EQ(tree_of(sandbox.work("2600Ren")), copies);
  sandbox.run({"undo"});  // the second run copied nothing: nothing on record
  sandbox.run({"undo"});
  EXPECT_EQ(user_tree_of(sandbox.work_dir()), before);
}

// A run stopped while a copy was written leaves its record and a temporary
// file; the next copy or undo clears it, and undo then takes back the rest.
TEST_F(CopyRunTest, WhatAStoppedRunLeftIsClearedByTheNextRunOrUndo) {
  for (const char* next : {"copy", "undo"}) {
    sandbox.run({"copy"});
    const std::string target = std::string("2600Ren/") + kMsPacMan + ".a26";
    const Bytes bytes = image(kMsPacMan, 3);
    write_bytes(sandbox.work(target + ".vald-copy"), Bytes(bytes.begin(), bytes.begin() + 100));
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", catalogue_crc(catalogue_index_of(kMsPacMan)));
    // The stopped run made the temporary file: its record names it.
    FileIdentity made;
    ASSERT_TRUE(SystemFileSystem().identify(sandbox.work(target + ".vald-copy"), made).ok());
    char identity[40];
    std::snprintf(identity, sizeof identity, " %llx:%llx",
                  static_cast<unsigned long long>(made.device),
                  static_cast<unsigned long long>(made.file));
    std::string escaped = target;
    for (std::size_t at = 0; (at = escaped.find(' ', at)) != std::string::npos;) {
      escaped.replace(at, 1, "%20");
    }
    write_text(sandbox.work("2600Undo.txt"),
               journal() + "run 2026-12-09T00:00:00Z copy\ncopy 4096 " + crc + " " + escaped +
                   ".vald-copy " + escaped + identity + "\n");
    sandbox.run({next});
    EXPECT_FALSE(file_exists(sandbox.work(target + ".vald-copy"))) << next;
    EXPECT_FALSE(file_exists(sandbox.work(target))) << next;
    while (sandbox.run({"undo"}).out.find("Nothing to undo") == std::string::npos) {
    }
    EXPECT_EQ(user_tree_of(sandbox.work_dir()), before) << next;
  }
}

}  // namespace

#endif  // __has_include(<archive.h>)
