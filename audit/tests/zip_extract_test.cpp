// Extracting entries, one broken archive per row: whether zip_read_entry
// fails, and what its problem says on the console and in the log.

#include <functional>

#include "zip_test_support.h"

namespace {

using namespace ziptest;

const Bytes DATA = half_compressible(5000);

struct ExtractCase {
  const char* fault;
  bool deflated;
  std::function<void(Member&)> breakMember;
  const char* console;  // nullptr: the entry reads
  const char* log;      // the log text of the error
  const char* detail;   // the detail line before it, when the log is open
};

void PrintTo(const ExtractCase& row, std::ostream* out) {
  *out << row.fault;
}

const ExtractCase EXTRACT_CASES[] = {
    {"stored, intact", false, [](Member&) {}, nullptr, nullptr, nullptr},
    {"deflated, needs version 2.0", true, [](Member& m) { m.versionNeeded = 20; }, nullptr, nullptr,
     nullptr},
    {"deflated, needs version 2.1", true, [](Member& m) { m.versionNeeded = 21; }, UNSUPPORTED,
     "Version too new", nullptr},
    {"deflated, needs host system 3", true, [](Member& m) { m.hostSystemNeeded = 3; }, UNSUPPORTED,
     "OS not supported", nullptr},
    {"deflated, starts on disk 1", true, [](Member& m) { m.diskStart = 1; }, UNSUPPORTED,
     "Cannot span disks", nullptr},
    {"method 12", true, [](Member& m) { m.method = 12; }, UNSUPPORTED,
     "Compression method unsupported", nullptr},
    {"stored, sizes differ", false, [](Member& m) { m.uncompressedSize -= 1; }, CORRUPT,
     "Wrong uncompressed size in store compression", nullptr},
    {"stored, empty", false,
     [](Member& m) {
       m.payload.clear();
       m.compressedSize = m.uncompressedSize = 0;
     },
     CORRUPT, "Reading compressed data", nullptr},
    {"stored, longer than the file", false,
     [](Member& m) { m.compressedSize = m.uncompressedSize = 100000; }, CORRUPT,
     "Reading compressed data", nullptr},
    {"local header past the end", false, [](Member& m) { m.localHeaderOffset = 90000; }, CORRUPT,
     "Reading header", nullptr},
    {"deflated, compressed size 0", true, [](Member& m) { m.compressedSize = 0; }, CORRUPT,
     "Inflating compressed data", "inflate error: compressed size too small"},
    {"deflated, data cut in half", true,
     [](Member& m) {
       m.payload.resize(m.payload.size() / 2);
       m.compressedSize = static_cast<std::uint32_t>(m.payload.size());
     },
     CORRUPT, "Inflating compressed data", "inflate error: compressed size too small"},
    {"deflated, stream ends before the size", true, [](Member& m) { m.uncompressedSize += 10; },
     CORRUPT, "Inflating compressed data", "zip size mismatch. 0"},
    {"deflated, stream longer than the size", true, [](Member& m) { m.uncompressedSize -= 10; },
     CORRUPT, "Inflating compressed data", "inflate error: -5"},
    {"deflated, one byte after the stream", true,
     [](Member& m) {
       m.payload.push_back(0);
       m.compressedSize += 1;
     },
     CORRUPT, "Inflating compressed data", "zip size mismatch. 1"},
    {"deflated, a chunk after the stream", true,
     [](Member& m) {
       m.payload.resize(m.payload.size() + 20000);
       m.compressedSize += 20000;
     },
     CORRUPT, "Inflating compressed data", "zip size mismatch. 20000"},
    {"deflated, not deflate data", true,
     [](Member& m) { std::fill(m.payload.begin(), m.payload.end(), 0xFF); }, CORRUPT,
     "Inflating compressed data", "inflate error: -3"},
};

class ZipExtractTest : public ZipTest, public testing::WithParamInterface<ExtractCase> {
 protected:
  // Builds the row's archive, extracts its entry into a buffer of exactly the
  // entry's uncompressed size and says its problem; true when it read.
  bool extract(const ExtractCase& row, Bytes& extracted) {
    ZipBuilder builder;
    row.breakMember(builder.add("game.bin", DATA, row.deflated));
    const ZipHandle archive = open_capturing(write_archive(builder.build()));
    EXPECT_NE(archive, nullptr);
    if (archive == nullptr) return false;
    const ListedEntry entry = list_entries(*archive).at(0);
    extracted.resize(entry.fields.uncompressedSize);
    testing::internal::CaptureStdout();
    const ZipResult read = zip_read_entry(*archive, entry.fields, extracted.data());
    say(read);
    console = testing::internal::GetCapturedStdout();
    return read.ok();
  }
};

TEST_P(ZipExtractTest, ReportsEachFaultOnTheConsoleAndInTheLog) {
  const ExtractCase& row = GetParam();
  write_text(start / "Vald_ZIP.txt", "earlier run\n");
  run_state().logs.zip.file =
      open_through(file_system(), start / "Vald_ZIP.txt", "a");  // detail needs it open
  Bytes extracted;
  EXPECT_EQ(extract(row, extracted), row.console == nullptr);
  if (row.console == nullptr) {
    EXPECT_EQ(extracted, DATA);
    EXPECT_EQ(console, "");
    EXPECT_EQ(log_text(), "earlier run\n");
    return;
  }
  EXPECT_EQ(console, "Error in zipfile " + path + "\n" + row.console + "\n");
  const std::string detail = row.detail != nullptr ? std::string(row.detail) + "\n" : "";
  EXPECT_EQ(log_text(),
            "earlier run\n" + detail + "Error in zipfile " + path + ": " + row.log + "\n");
}

INSTANTIATE_TEST_SUITE_P(Rows, ZipExtractTest, testing::ValuesIn(EXTRACT_CASES),
                         [](const auto& info) { return row_name(info.param.fault); });

TEST_F(ZipTest, DetailLinesNeverOpenTheLog) {
  ZipBuilder builder;
  builder.add("game.bin", DATA, true).compressedSize = 0;
  const std::string written = write_archive(builder.build());
  testing::internal::CaptureStdout();
  for (int run = 0; run < 2; ++run) {
    ZipHandle archive;
    ASSERT_TRUE(zip_open(written.c_str(), archive).ok());
    path = written;
    const ListedEntry entry = list_entries(*archive).at(0);
    Bytes extracted(entry.fields.uncompressedSize);
    const ZipResult read = zip_read_entry(*archive, entry.fields, extracted.data());
    EXPECT_EQ(read.error, ZipError::inflating);
    say(read);
  }
  testing::internal::GetCapturedStdout();
  const std::string error = "Error in zipfile " + written + ": Inflating compressed data\n";
  EXPECT_EQ(log_text(), error + "inflate error: compressed size too small\n" + error);
}

}  // namespace
