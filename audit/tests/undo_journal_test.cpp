// The undo journal's format, reader and writer: paths of any bytes survive,
// and a damaged, cut-short or foreign journal never hands out a run it cannot
// vouch for.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "journal/journal_reader.h"
#include "journal/journal_writer.h"
#include "journal/undo_journal.h"
#include "test_disks.h"
#include "test_support.h"

namespace {

TEST(UndoJournalTest, AnyNameSurvivesAsOneBlankFreeField) {
  const std::vector<std::string> names = {"plain.bin",
                                          "back\\slash.bin",
                                          "with space.bin",
                                          "quote\" and ' .bin",
                                          "tab\there.bin",
                                          "new\nline.bin",
                                          "per%cent.bin",
                                          std::string("nul\0in.bin", 10),
                                          "\xff\xfe not UTF-8.a26",
                                          ""};
  for (const std::string& name : names) {
    const std::string field = escape_journal_field(name);
    EXPECT_EQ(field.find_first_of(" \t\r\n"), std::string::npos) << field;
    EXPECT_EQ(unescape_journal_field(field), name) << field;
    JournalRecord move;
    move.kind = JournalRecordKind::move;
    move.size = 4096;
    move.path = name + "x";
    move.target = std::string("2600Ren") + PATH_SEPARATOR + name;
    const std::string line = journal_line(move);
    const auto back = parse_journal_line(line.substr(0, line.size() - 1));
    ASSERT_TRUE(back) << line;
    EXPECT_EQ(back->path, move.path);
    EXPECT_EQ(back->target, move.target);
  }
}

TEST(UndoJournalTest, LinesNotWrittenExactlySoAreRefused) {
  const char* const lines[] = {"",
                               "move 12 a",
                               "move -1 a b",
                               "move 01 a b",
                               "move 99999999999999999999 a b",
                               "move 1  b",
                               "move 1 a%4 b",
                               "move 1 a b c",
                               "folder",
                               "folder a b",
                               "folder %zz",
                               "run 2026 copies",
                               "run rename",
                               "undone 0",
                               "undone x",
                               "failed x",
                               "MOVE 1 a b",
                               "move 1 a\tb b",
                               "copy 1 ABCDEF12 a b",
                               "copy 1 abcdef1 a b",
                               "copy 1 abcdef12 a"};
  for (const char* line : lines) EXPECT_FALSE(parse_journal_line(line)) << line;
  EXPECT_TRUE(parse_journal_line("move 0 a b"));
  const auto copy = parse_journal_line("copy 4096 0a1b2c3d a%20b.vald-copy a%20b");
  ASSERT_TRUE(copy);
  EXPECT_EQ(journal_line(*copy), "copy 4096 0a1b2c3d a%20b.vald-copy a%20b\n");
  EXPECT_EQ(copy->crc, 0x0a1b2c3du);
  EXPECT_TRUE(parse_journal_line("undone 18446744073709551615"));
}

struct ReadingCase {
  const char* what;
  std::string text;  // after the first line
  JournalProblem problem;
  std::uint64_t run;  // 0: nothing found
  std::size_t steps;
};

JournalReading read_text_journal(const std::string& text) {
  MemoryFileSystem disk;
  disk.put("2600Undo.txt", text);
  return read_last_open_run(*open_through(disk, "2600Undo.txt", "rb"));
}

TEST(UndoJournalTest, ReaderPicksTheLastRunNotUndoneAndOnlyAnUndamagedOne) {
  const std::string one = "run T1 rename\nfolder 2600Ren\nmove 5 a 2600Ren/A\n";
  const std::string two = "run T2 move\nmove 5 b 2600Ren/b\nmove 5 c 2600Ren/c\nfailed\n";
  const std::vector<ReadingCase> cases = {
      {"no run", "", JournalProblem::none, 0, 0},
      {"last run", one + two, JournalProblem::none, 2, 1},
      {"last undone", one + two + "undone 2\n", JournalProblem::none, 1, 2},
      {"all undone", one + two + "undone 2\nundone 1\n", JournalProblem::none, 0, 0},
      {"run after an undo", one + "undone 1\n" + two, JournalProblem::none, 2, 1},
      {"damage before it", one + "garbage\n" + two, JournalProblem::none, 2, 1},
      {"damage in it", one + two + "move 5 d\n", JournalProblem::damaged, 0, 0},
      {"damage after it", one + two + "undone 2\nmove x\n", JournalProblem::damaged, 0, 0},
      {"cut short", one + "move 5 b 2600Ren/b", JournalProblem::none, 1, 2},
      {"outside", "run T1 move\nmove 5 ../a b\n", JournalProblem::outside, 0, 0},
      {"absolute", "run T1 move\nmove 5 a /tmp/b\n", JournalProblem::outside, 0, 0},
      {"undone ahead", one + "undone 2\n", JournalProblem::damaged, 0, 0},
      {"failed alone", "run T1 move\nfailed\n", JournalProblem::damaged, 0, 0},
      {"move before a run", "move 5 a b\n" + two, JournalProblem::none, 1, 1},
      {"over-long line", one + std::string(JOURNAL_LINE_LIMIT + 5, 'x') + "\n",
       JournalProblem::damaged, 0, 0},
  };
  for (const ReadingCase& row : cases) {
    const JournalReading reading =
        read_text_journal(std::string(JOURNAL_FIRST_LINE) + "\n" + row.text);
    EXPECT_EQ(reading.problem, row.problem) << row.what;
    EXPECT_EQ(reading.found, row.run != 0) << row.what;
    if (reading.found) {
      EXPECT_EQ(reading.run.number, row.run) << row.what;
      EXPECT_EQ(reading.run.steps.size(), row.steps) << row.what;
    }
  }
  EXPECT_EQ(read_text_journal("not a journal\n" + one).problem, JournalProblem::foreign);
  EXPECT_EQ(read_text_journal("").problem, JournalProblem::foreign);
}

TEST(UndoJournalTest, WriterStartsAJournalMendsACutLineAndRefusesForeignFiles) {
  TempDir folder;
  const std::string path = folder / UNDO_JOURNAL_NAME;
  JournalRecord failed;
  failed.kind = JournalRecordKind::failed;
  {
    JournalWriter writer;
    ASSERT_TRUE(writer.open(path).ok());
    ASSERT_TRUE(writer.append(failed));
    EXPECT_EQ(read_text(path), std::string(JOURNAL_FIRST_LINE) + "\nfailed\n");  // flushed
    EXPECT_TRUE(writer.close());
  }
  write_text(path, read_text(path) + "move 5 a");
  JournalWriter writer;
  ASSERT_TRUE(writer.open(path).ok());
  writer.close();
  EXPECT_EQ(read_text(path), std::string(JOURNAL_FIRST_LINE) + "\nfailed\n");  // cut back

  write_text(path, "my own notes\n");
  EXPECT_EQ(writer.open(path), FsStatus::refused);
  EXPECT_EQ(read_text(path), "my own notes\n");
  make_dir(folder / "sub");
  EXPECT_EQ(writer.open(folder / "sub"), FsStatus::failed);
}

}  // namespace
