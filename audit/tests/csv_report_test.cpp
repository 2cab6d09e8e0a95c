// The CSV report: its reader of earlier reports, in the form before the
// scheme and TV columns and after, and three runs of one folder read back
// with Python's csv module.

#include <gtest/gtest.h>

#include <cstdio>

#include "reports/csv_format.h"
#include "reports/csv_report.h"
#include "sample_images.h"
#include "test_support.h"
#include "zip_test_support.h"

namespace {

using Outcome = EarlierReport::Outcome;

TEST(CsvReportTest, EarlierReportIsReadOnlyWhenWhole) {
  const std::string head = "status,title,crc32,size,file,note\r\n";
  const struct {
    std::string text;
    Outcome outcome;
    std::size_t found;
  } rows[] = {
      {head + "new,T,0000abcd,4,\"a,\"\"b\"\"\r\nc\",\r\n", Outcome::read, 1},
      {head + "gone,T,,,,\nmiss,U,,,,", Outcome::read, 0},
      {head + "new,\"T,0000abcd,4,f,\r\n", Outcome::malformed, 0},
      {head + "new,T\"x\",0000abcd,4,f,\r\n", Outcome::malformed, 0},
      {head + "new,\"T\"x,0000abcd,4,f,\r\n", Outcome::malformed, 0},
      {head + "new,T,0000ABCD,4,f,\r\n", Outcome::malformed, 0},
      {head + "old,T,0000abcd,4,f,\r\n", Outcome::malformed, 0},
      {head + "new,T,0000abcd,4,f\r\n", Outcome::malformed, 0},
      {head + "new,T,0000abcd,4,f,,\r\n", Outcome::malformed, 0},
      {"status,title,crc32,size,file\r\n", Outcome::malformed, 0},
      {"status,title,crc32,size,file,note,scheme,tv\r\nnew,T,0000abcd,4,f,,4K,PAL\r\n",
       Outcome::read, 1},
      {"status,title,crc32,size,file,note,scheme,tv\r\nnew,T,0000abcd,4,f,\r\n", Outcome::malformed,
       0},
      {"", Outcome::malformed, 0},
  };
  for (const auto& row : rows) {
    const EarlierReport report = earlier_report_from_text(row.text);
    EXPECT_EQ(report.outcome, row.outcome) << row.text;
    EXPECT_EQ(report.found.size(), row.found) << row.text;
  }
  EXPECT_EQ(earlier_report_from_text(rows[0].text).found.at("0000abcd"), "a,\"b\"\r\nc");
}

// A field that would start a formula gets a "'" inside quotes, and loses
// it when read back; the earlier report reads in either form.
TEST(CsvReportTest, FormulaFieldsAreDefusedAndReadBackExactly) {
  const struct {
    std::string field, written;
  } rows[] = {
      {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
      {"+1.bin", "\"'+1.bin\""},
      {"-x", "\"'-x\""},
      {"@x", "\"'@x\""},
      {"\tx", "\"'\tx\""},
      {"\rx", "\"'\rx\""},
      {"'=x", "\"''=x\""},
      {"'88 Games.bin", "'88 Games.bin"},
      {"a=b", "a=b"},
  };
  const std::string head = "status,title,crc32,size,file,note\r\n";
  for (const auto& row : rows) {
    EXPECT_EQ(csv_field(row.field, CsvFormulas::defused), row.written) << row.field;
    const std::string line = "new,T,0000abcd,4," + row.written + ",\r\n";
    EXPECT_EQ(earlier_report_from_text(head + line).found.at("0000abcd"), row.field) << line;
  }
  // The form written before fields were defused reads as it always did.
  EXPECT_EQ(earlier_report_from_text(head + "new,T,0000abcd,4,-x.bin,\r\n").found.at("0000abcd"),
            "-x.bin");
}

// Prints whether the header is right, the entry rows, whether the CRCs are
// well formed and the rows sorted, then [status, title, file, scheme, tv] of
// each not missed.
constexpr char READ_REPORT[] =
    "import csv, json, re\n"
    "rows = list(csv.reader(open('2600Report.csv', newline=''), strict=True))\n"
    "print(rows[0] == ['status', 'title', 'crc32', 'size', 'file', 'note', 'scheme', 'tv'])\n"
    "body = rows[1:]\n"
    "print(sum(r[0] in ('new', 'have', 'gone', 'miss') for r in body))\n"
    "print(all(re.fullmatch('[0-9a-f]{8}', r[2]) for r in body))\n"
    "print(body == sorted(body, key=lambda r: (r[1], r[0], r[4])))\n"
    "for r in body:\n"
    "    if r[0] != 'miss': print(json.dumps([r[0], r[1], r[4], r[6], r[7]]))\n";

class CsvRunTest : public ::testing::Test {
 protected:
  ValdSandbox sandbox;
  std::string python = ziptest::find_on_path("python3");

  void SetUp() override {
    if (ON_WINDOWS || python.empty()) GTEST_SKIP() << "needs python3 and POSIX file names";
  }
  void add(const std::string& name, const std::string& title, std::uint32_t seed) {
    const int index = catalogue_index_of(title);
    write_bytes(sandbox.work(name),
                make_sample_image(index >= 0 ? catalogue_crc(index) : 0x00c0ffee, 4096, seed));
  }
  std::string python_run(const std::vector<std::string>& arguments) const {
    return run_program(python, arguments, sandbox.work_dir(), sandbox.home_dir()).out;
  }
  // The start of [status, title, file, scheme, tv] as the reader prints it.
  static std::string row(const std::string& status, const std::string& title,
                         const std::string& file) {
    return "[\"" + status + "\", \"" + title + "\", \"" + file + "\", ";
  }
};

TEST_F(CsvRunTest, ThreeRunsOfOneFolderSayWhatChanged) {
  const std::string abre = "Abre-te, Sesamo! (1983) (CCE)";
  const std::string tic = "3-D Tic-Tac-Toe (1978) (Atari) (PAL)";
  const std::string zipped = "Adventure + (2003) (Homebrew)";
  add("comma, file.bin", abre, 1);
  add("say \"hi\".a26", tic, 2);
  add("two\nlines.bin", tic, 3);
  add("mystery (SECAM).bin", "", 4);
  make_dir(sandbox.work("sub"));
  add("sub/x.bin", zipped, 5);
  python_run(
      {"-c", "import zipfile; zipfile.ZipFile('sub/in.zip', 'w').write('sub/x.bin', 'x.bin')"});
  std::remove(sandbox.work("sub/x.bin").c_str());
  write_text(sandbox.work("2600Report.csv"), "status,\"never closed\n");

  std::string out = sandbox.run({"listd", "csv"}).out;
  EXPECT_NE(out.find("The earlier 2600Report.csv could not be used"), std::string::npos) << out;
  EXPECT_NE(out.find("Since the last run: 3 new, 0 gone (2600Report.csv)\n"), std::string::npos);
  std::string report = python_run({"-c", READ_REPORT});
  EXPECT_EQ(report.substr(0, 20), "True\n1544\nTrue\nTrue\n") << report;
  EXPECT_NE(report.find(row("new", abre, "comma, file.bin")), std::string::npos) << report;
  // The catalogue's 2K and PAL win over the 4K the bytes show; an unknown
  // image's bytes and name tell.
  EXPECT_EQ(count_of(report, "\"2K\", \"PAL\"]\n"), 2);
  EXPECT_NE(report.find(row("unknown", "", "mystery (SECAM).bin") + "\"4K\", \"SECAM\"]"),
            std::string::npos);
  EXPECT_NE(report.find(row("new", zipped, "sub/in.zip/x.bin")), std::string::npos);
  EXPECT_EQ(count_of(report, "[\"new\", \"" + tic), 1);
  EXPECT_EQ(count_of(report, "[\"duplicate\", \"" + tic), 1);
  EXPECT_NE(report.find("say \\\"hi\\\".a26"), std::string::npos);
  EXPECT_NE(report.find("two\\nlines.bin"), std::string::npos);

  std::remove(sandbox.work("comma, file.bin").c_str());
  add("added one.bin", "Asterix (1983) (Atari) (NTSC, Prototype)", 6);
  add("added two.bin", "Cosmic Ark (1982) (Imagic) (Imagic, Selectable Starfield)", 7);
  out = sandbox.run({"listd", "csv"}).out;
  EXPECT_NE(out.find("Since the last run: 2 new, 1 gone (2600Report.csv)\n"), std::string::npos)
      << out;
  report = python_run({"-c", READ_REPORT});
  EXPECT_NE(report.find(row("gone", abre, "")), std::string::npos) << report;
  EXPECT_NE(report.find(row("have", zipped, "sub/in.zip/x.bin")), std::string::npos);
  EXPECT_EQ(count_of(report, "[\"have\", \"" + tic), 1);

  out = sandbox.run({"listd", "csv"}).out;
  EXPECT_NE(out.find("Since the last run: 0 new, 0 gone (2600Report.csv)\n"), std::string::npos)
      << out;
  report = python_run({"-c", READ_REPORT});
  EXPECT_EQ(count_of(report, "[\"have\", "), 4) << report;
}

}  // namespace
