// Extracting entries, one broken archive per row: what zip_read_entry
// returns, what it prints, and what it logs.

#include <functional>

#include "zip_test_support.h"

namespace {

using namespace ziptest;

const Bytes DATA = half_compressible(5000);

struct ExtractCase {
  const char* fault;
  bool deflated;
  std::function<void(Member&)> breakMember;
  int result;
  const char* console;  // nullptr: nothing printed
  const char* log;      // the log text of the error
  const char* detail;   // the detail line before it, when the log is open
};

void PrintTo(const ExtractCase& row, std::ostream* out) {
  *out << row.fault;
}

const ExtractCase EXTRACT_CASES[] = {
    {"stored, intact", false, [](Member&) {}, 0, nullptr, nullptr, nullptr},
    {"deflated, needs version 2.0", true, [](Member& m) { m.versionNeeded = 20; }, 0, nullptr,
     nullptr, nullptr},
    {"deflated, needs version 2.1", true, [](Member& m) { m.versionNeeded = 21; }, -2, UNSUPPORTED,
     "Version too new", nullptr},
    {"deflated, needs host system 3", true, [](Member& m) { m.hostSystemNeeded = 3; }, -2,
     UNSUPPORTED, "OS not supported", nullptr},
    {"deflated, starts on disk 1", true, [](Member& m) { m.diskStart = 1; }, -2, UNSUPPORTED,
     "Cannot span disks", nullptr},
    {"method 12", true, [](Member& m) { m.method = 12; }, -2, UNSUPPORTED,
     "Compression method unsupported", nullptr},
    {"stored, sizes differ", false, [](Member& m) { m.uncompressedSize -= 1; }, -3, CORRUPT,
     "Wrong uncompressed size in store compression", nullptr},
    {"stored, empty", false,
     [](Member& m) {
       m.payload.clear();
       m.compressedSize = m.uncompressedSize = 0;
     },
     -1, CORRUPT, "Reading compressed data", nullptr},
    {"stored, longer than the file", false,
     [](Member& m) { m.compressedSize = m.uncompressedSize = 100000; }, -1, CORRUPT,
     "Reading compressed data", nullptr},
    {"local header past the end", false, [](Member& m) { m.localHeaderOffset = 90000; }, -1,
     CORRUPT, "Reading header", nullptr},
    {"deflated, compressed size 0", true, [](Member& m) { m.compressedSize = 0; }, -3, CORRUPT,
     "Inflating compressed data", "inflate error: compressed size too small"},
    {"deflated, data cut in half", true,
     [](Member& m) {
       m.payload.resize(m.payload.size() / 2);
       m.compressedSize = static_cast<std::uint32_t>(m.payload.size());
     },
     -3, CORRUPT, "Inflating compressed data", "inflate error: compressed size too small"},
    {"deflated, stream ends before the size", true, [](Member& m) { m.uncompressedSize += 10; }, -3,
     CORRUPT, "Inflating compressed data", "zip size mismatch. 0"},
    {"deflated, stream longer than the size", true, [](Member& m) { m.uncompressedSize -= 10; }, -3,
     CORRUPT, "Inflating compressed data", "inflate error: -5"},
    {"deflated, one byte after the stream", true,
     [](Member& m) {
       m.payload.push_back(0);
       m.compressedSize += 1;
     },
     -3, CORRUPT, "Inflating compressed data", "zip size mismatch. 1"},
    {"deflated, a chunk after the stream", true,
     [](Member& m) {
       m.payload.resize(m.payload.size() + 20000);
       m.compressedSize += 20000;
     },
     -3, CORRUPT, "Inflating compressed data", "zip size mismatch. 20000"},
    {"deflated, not deflate data", true,
     [](Member& m) { std::fill(m.payload.begin(), m.payload.end(), 0xFF); }, -3, CORRUPT,
     "Inflating compressed data", "inflate error: -3"},
};

class ZipExtractTest : public ZipTest, public testing::WithParamInterface<ExtractCase> {
 protected:
  // Builds the row's archive, extracts its entry into a buffer of exactly the
  // entry's uncompressed size, and returns the result.
  int extract(const ExtractCase& row, Bytes& extracted) {
    ZipBuilder builder;
    row.breakMember(builder.add("game.bin", DATA, row.deflated));
    path = write_archive(builder.build());
    ZipArchive* archive = zip_open(path.c_str(), run_state().logs.zip);
    EXPECT_NE(archive, nullptr);
    if (archive == nullptr) return 1;
    ZipEntry* entry = zip_next_entry(archive);
    extracted.resize(entry->uncompressedSize);
    testing::internal::CaptureStdout();
    const int result = zip_read_entry(archive, entry, extracted.data());
    console = testing::internal::GetCapturedStdout();
    zip_close(archive);
    return result;
  }

  std::string path;
};

TEST_P(ZipExtractTest, ReportsEachFaultOnTheConsoleAndInTheLog) {
  const ExtractCase& row = GetParam();
  write_text(start / "Vald_ZIP.txt", "earlier run\n");
  run_state().logs.zip.file =
      open_through(file_system(), start / "Vald_ZIP.txt", "a");  // detail needs it open
  Bytes extracted;
  EXPECT_EQ(extract(row, extracted), row.result);
  if (row.result == 0) {
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
  const std::string path = write_archive(builder.build());
  testing::internal::CaptureStdout();
  for (int run = 0; run < 2; ++run) {
    ZipArchive* archive = zip_open(path.c_str(), run_state().logs.zip);
    ZipEntry* entry = zip_next_entry(archive);
    Bytes extracted(entry->uncompressedSize);
    EXPECT_EQ(zip_read_entry(archive, entry, extracted.data()), -3);
    zip_close(archive);
  }
  testing::internal::GetCapturedStdout();
  const std::string error = "Error in zipfile " + path + ": Inflating compressed data\n";
  EXPECT_EQ(log_text(), error + "inflate error: compressed size too small\n" + error);
}

}  // namespace
