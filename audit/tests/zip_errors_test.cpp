// The reader's problems on opening and on reaching the data, each with its
// console and log texts; and how "Vald_ZIP.txt" is opened and kept.

#include "zip_test_support.h"

namespace {

using namespace ziptest;

struct OpenCase {
  const char* fault;
  std::function<void(ZipBuilder&)> breakArchive;
  int failingSeek;  // 0: none
  bool failTell;
  const char* console;
  const char* log;
};

void PrintTo(const OpenCase& row, std::ostream* out) {
  *out << row.fault;
}

void intact(ZipBuilder&) {}

const OpenCase OPEN_CASES[] = {
    {"seek to the end fails", intact, 1, false, FILE_SYSTEM, "Seeking to end"},
    {"length cannot be told", intact, 0, true, FILE_SYSTEM, "Get file size"},
    {"this disk is not the directory's", [](ZipBuilder& b) { b.end.diskNumber = 1; }, 0, false,
     UNSUPPORTED, "Cannot span disks"},
    {"entries on this disk are not all", [](ZipBuilder& b) { b.end.totalEntries = 2; }, 0, false,
     UNSUPPORTED, "Cannot span disks"},
    {"no entries", [](ZipBuilder& b) { b.end.entriesOnDisk = b.end.totalEntries = 0; }, 0, false,
     UNSUPPORTED, "Cannot span disks"},
    {"seek to the directory fails", intact, 3, false, CORRUPT, "Seeking to central directory"},
    {"directory size 0", [](ZipBuilder& b) { b.end.directorySize = 0; }, 0, false, CORRUPT,
     "Reading central directory"},
    {"directory past the end", [](ZipBuilder& b) { b.end.directorySize = 0xFFFFFFF0u; }, 0, false,
     CORRUPT, "Reading central directory"},
    {"directory offset past the end", [](ZipBuilder& b) { b.end.directoryOffset = 0xFFFFFFF0u; }, 0,
     false, CORRUPT, "Reading central directory"},
};

class ZipOpenTest : public ZipTest, public testing::WithParamInterface<OpenCase> {};

TEST_P(ZipOpenTest, RefusesTheArchiveWithBothTexts) {
  const OpenCase& row = GetParam();
  ZipBuilder builder;
  builder.add("game.bin", Bytes(100, 1), false);
  row.breakArchive(builder);
  const std::string path = write_archive(builder.build());
  FaultyStreams streams;
  streams.failingSeek = row.failingSeek;
  streams.failTell = row.failTell;
  EXPECT_EQ(open_capturing(path), nullptr);
  EXPECT_EQ(console, "Error in zipfile " + path + "\n" + row.console + "\n");
  EXPECT_EQ(log_text(), "Error in zipfile " + path + ": " + row.log + "\n");
  // Nothing the directory claimed was read.
  for (std::size_t size : streams.reads) EXPECT_LE(size, 1024u);
}

INSTANTIATE_TEST_SUITE_P(Rows, ZipOpenTest, testing::ValuesIn(OPEN_CASES),
                         [](const auto& info) { return row_name(info.param.fault); });

// A file that does not open says why: the system's reason, not a guess.
TEST_F(ZipTest, MissingAndEmptyFilesAreReported) {
  const std::string missing = files / "missing.zip";
  const std::string empty = write_archive({}, "empty.zip");
  EXPECT_EQ(open_capturing(missing), nullptr);
  EXPECT_EQ(open_capturing(empty), nullptr);
  const std::string reason = error_text(ENOENT);
  EXPECT_EQ(console, "Error in zipfile " + missing + "\nThe zipfile cannot be opened: " + reason +
                         "\nError in zipfile " + empty + "\n" + CORRUPT + "\n");
  EXPECT_EQ(log_text(), "Error in zipfile " + missing + ": Opening for reading: " + reason +
                            "\nError in zipfile " + empty + ": Empty file\n");
}

TEST_F(ZipTest, SeekFailuresOnTheWayToTheDataAreIoErrors) {
  ZipBuilder builder;
  builder.add("game.bin", Bytes(100, 1), false);
  const std::string path = write_archive(builder.build());
  for (const auto& [seek, log] :
       {std::pair{4, "Seeking to header"}, {5, "Seeking to compressed data"}}) {
    FaultyStreams streams;
    streams.failingSeek = seek;  // after the three seeks of zip_open
    const ZipHandle archive = open_capturing(path);
    ASSERT_NE(archive, nullptr);
    const ListedEntry entry = list_entries(*archive).at(0);
    Bytes extracted(entry.fields.uncompressedSize);
    testing::internal::CaptureStdout();
    const ZipResult read = zip_read_entry(*archive, entry.fields, extracted.data());
    EXPECT_FALSE(read.ok());
    say(read);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Error in zipfile " + path + "\n" + CORRUPT + "\n");
    EXPECT_NE(log_text().find("Error in zipfile " + path + ": " + log + "\n"), std::string::npos);
  }
}

TEST_F(ZipTest, TheLogIsOpenedOnTheFirstErrorAndAppendedAcrossRuns) {
  const std::string path = write_archive({}, "empty.zip");
  const std::string line = "Error in zipfile " + path + ": Empty file\n";
  ZipBuilder builder;
  builder.add("game.bin", Bytes(100, 1), false);
  const ZipHandle archive = open_capturing(write_archive(builder.build(), "good.zip"));
  ASSERT_NE(archive, nullptr);
  list_entries(*archive);
  EXPECT_FALSE(file_exists(start / "Vald_ZIP.txt"));

  write_text(start / "Vald_ZIP.txt", "kept\n");
  EXPECT_EQ(open_capturing(path), nullptr);
  close_tool_logs();  // the end of one run
  EXPECT_EQ(open_capturing(path), nullptr);
  EXPECT_EQ(log_text(), "kept\n" + line + line);
}

TEST_F(ZipTest, TheLogFallsBackToHomeAndIsRetriedWhenNeitherOpens) {
  if (ON_WINDOWS) GTEST_SKIP() << "Windows falls back to C:\\, not to $HOME";
  const std::string path = write_archive({}, "empty.zip");
  run_state().directories.start = start / "gone";
  testing::internal::CaptureStderr();
  EXPECT_EQ(open_capturing(path), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Using default log: " + home.path() + "/Vald_ZIP.txt\n");
  close_tool_logs();
  EXPECT_EQ(read_text(home / "Vald_ZIP.txt"), "Error in zipfile " + path + ": Empty file\n");

  // Neither directory usable: only the console line, and the next error tries again.
  set_environment("HOME", home / "gone");
  EXPECT_EQ(open_capturing(path), nullptr);
  EXPECT_EQ(count_of(console, CORRUPT), 2);
  make_dir(start / "gone");
  EXPECT_EQ(open_capturing(path), nullptr);
  close_tool_logs();
  EXPECT_EQ(read_text(start / "gone/Vald_ZIP.txt"), "Error in zipfile " + path + ": Empty file\n");
}

}  // namespace
