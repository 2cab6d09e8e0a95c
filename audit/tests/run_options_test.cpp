#include "app/option_words.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

RunOptions parse(std::initializer_list<const char*> words, int* converts = nullptr) {
  RunOptions options;
  int count = 0;
  for (const char* word : words) count += apply_option_word(options, word) ? 1 : 0;
  if (converts != nullptr) *converts = count;
  return options;
}

TEST(RunOptionsTest, ModeWordsSetTheirFlags) {
  EXPECT_EQ(parse({"rename"}).rename, 1);
  const RunOptions move = parse({"move"});
  EXPECT_EQ(move.move, 1);
  EXPECT_EQ(move.rename, 1);
  const RunOptions list = parse({"listd"});
  EXPECT_EQ(list.list, 1);
  EXPECT_EQ(list.listDirs, 1);
  EXPECT_EQ(parse({"list"}).listDirs, 0);
  EXPECT_EQ(parse({"list"}).rename, 0);  // set only when the run starts

  const RunOptions scannewd = parse({"scannewd"});
  EXPECT_EQ(scannewd.scan, 1);
  EXPECT_EQ(scannewd.scanNew, 1);
  EXPECT_EQ(scannewd.scanDirs, 1);
  const RunOptions scand = parse({"SCAND"});
  EXPECT_EQ(scand.scan, 1);
  EXPECT_EQ(scand.scanNew, 0);
  EXPECT_EQ(scand.scanDirs, 1);
  EXPECT_EQ(parse({"scannew"}).scanDirs, 0);

  const RunOptions audit3 = parse({"audit3"});
  EXPECT_EQ(audit3.audit, 1);
  EXPECT_EQ(audit3.audit3, 1);
  EXPECT_EQ(audit3.audit2, 0);
  EXPECT_EQ(parse({"Audit2"}).audit2, 1);
  EXPECT_EQ(parse({"mess_crcs"}).messExport, 1);
}

TEST(RunOptionsTest, AnyWordBeginningWithQIsQuiet) {
  for (const char* word : {"quiet", "QUIET", "Quiet", "q", "Qxyz"}) {
    EXPECT_EQ(parse({word}).quiet, 1) << word;
  }
}

TEST(RunOptionsTest, SeparatorNeedsExactlyFourLetters) {
  const RunOptions sepn = parse({"sepn"});
  EXPECT_EQ(sepn.sep, 1);
  EXPECT_EQ(sepn.sepChar, 'n');
  EXPECT_EQ(sepn.scan, 1);  // its fourth letter is N
  EXPECT_EQ(parse({"SEP_"}).sepChar, '_');
  EXPECT_EQ(parse({"sep"}).sep, 0);
  EXPECT_EQ(parse({"sepxx"}).sep, 0);
  EXPECT_EQ(parse({"sep"}).sepChar, ' ');
}

TEST(RunOptionsTest, ChangeLogVariants) {
  const RunOptions changes = parse({"changes"});
  EXPECT_EQ(changes.changes, 1);
  EXPECT_EQ(changes.changesAll, 1);
  EXPECT_EQ(changes.changesReversed, 0);

  const RunOptions reversed = parse({"changes-"});
  EXPECT_EQ(reversed.changesAll, 1);
  EXPECT_EQ(reversed.changesReversed, 1);

  const RunOptions only_new = parse({"changesnew"});
  EXPECT_EQ(only_new.changesAll, 0);
  EXPECT_EQ(only_new.changesReversed, 0);

  const RunOptions only_new_reversed = parse({"changesnew-"});
  EXPECT_EQ(only_new_reversed.changesAll, 0);
  EXPECT_EQ(only_new_reversed.changesReversed, 1);
}

TEST(RunOptionsTest, DirsAndDeepShareTheirFirstLetter) {
  const RunOptions dirs = parse({"dirs"});
  EXPECT_EQ(dirs.dirs, 1);
  EXPECT_EQ(dirs.deep, 0);
  const RunOptions deep = parse({"deep"});
  EXPECT_EQ(deep.deep, 1);
  EXPECT_EQ(deep.dirs, 0);
}

TEST(RunOptionsTest, ConvertIsRefusedAndSetsNothing) {
  int converts = 0;
  const RunOptions options = parse({"convert"}, &converts);
  EXPECT_EQ(converts, 1);
  EXPECT_EQ(count_modes(options), 0);
  EXPECT_EQ(options.changes, 0);  // "CO" is not "CH"
}

TEST(RunOptionsTest, UnknownWordsAreIgnored) {
  const RunOptions options = parse({"hello", "", "x", "42"});
  EXPECT_EQ(count_modes(options), 0);
  EXPECT_EQ(options.quiet, 0);
}

TEST(RunOptionsTest, FlagsAreCountedNotWords) {
  EXPECT_EQ(count_modes(parse({})), 0);
  EXPECT_EQ(count_modes(parse({"scan", "scannew"})), 1);
  EXPECT_EQ(count_modes(parse({"rename", "move"})), 1);
  EXPECT_EQ(count_modes(parse({"list", "rename"})), 2);
  EXPECT_EQ(count_modes(parse({"list", "scan"})), 2);
  EXPECT_EQ(count_modes(parse({"rename", "scand"})), 2);
  EXPECT_EQ(count_modes(parse({"audit", "list"})), 2);
  EXPECT_EQ(count_modes(parse({"audit", "audit2"})), 1);
  EXPECT_EQ(count_modes(parse({"changes", "quiet", "dirs", "deep", "sep_"})), 0);
  EXPECT_EQ(count_modes(parse({"sepn"})), 1);  // its fourth letter makes it a scan
}

// plan, undo, csv and copy meet no other rule, and only the whole word
// counts; undo and copy are modes of their own.
TEST(RunOptionsTest, PlanUndoCsvAndCopyAreWholeWordsOfTheirOwn) {
  for (const char* word : {"plan", "PLAN", "undo", "Undo", "csv", "Csv", "plans", "und", "undone",
                           "csvs", "copy", "Copy", "copyx"}) {
    RunOptions options = parse({word});
    const std::string text = word;
    const bool whole = text.size() == (text[1] == 's' ? 3u : 4u);
    EXPECT_EQ(options.plan + options.undo + options.csv + options.copy, whole ? 1 : 0) << word;
    options.plan = options.undo = options.csv = options.copy = 0;
    EXPECT_EQ(count_modes(options) + options.quiet + options.dirs + options.deep + options.sep +
                  options.changes,
              0)
        << word;
  }
  EXPECT_EQ(count_modes(parse({"undo"})), 1);
  EXPECT_EQ(count_modes(parse({"undo", "move"})), 2);
  EXPECT_EQ(count_modes(parse({"copy", "list"})), 2);
  EXPECT_EQ(count_modes(parse({"plan", "rename"})), 1);
}

}  // namespace

namespace {

// The catalogue words set their own fields and nothing else; near misses set
// nothing at all.
TEST(RunOptionsTest, CatalogueWordsMeetNoOtherRule) {
  struct Row {
    const char* word;
    std::vector<std::string> datFiles;
    int fixDat;
  };
  const Row rows[] = {
      {"dat=Atari - 2600.dat", {"Atari - 2600.dat"}, 0},
      {"DAT=sep_", {"sep_"}, 0},
      {"dat=", {""}, 0},
      {"fixdat", {}, 1},
      {"FixDat", {}, 1},
      {"fixdats", {}, 0},
      {"datx=a", {}, 0},
      {"data", {}, 0},
  };
  for (const Row& row : rows) {
    RunOptions expected;
    expected.datFiles = row.datFiles;
    expected.fixDat = row.fixDat;
    EXPECT_TRUE(parse({row.word}) == expected) << row.word;
  }
}

}  // namespace
