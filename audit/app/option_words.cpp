#include "app/option_words.h"

#include <cctype>

namespace {

// True when `word` has `expected` at `position`. Letters compare without
// regard to case; a position past the end never matches.
bool has_at(std::string_view word, std::size_t position, char expected) {
  if (position >= word.size()) return false;
  return std::toupper(static_cast<unsigned char>(word[position])) == expected;
}

// True when `word` is `expected` (upper case), without regard to case. Words
// beginning with P, U or V, and the words csv and copy (C without H at 1 or
// T at 6), match none of the rules above, so these whole words stand apart
// from them.
bool is_word(std::string_view word, std::string_view expected) {
  if (word.size() != expected.size()) return false;
  for (std::size_t position = 0; position < word.size(); ++position) {
    if (!has_at(word, position, expected[position])) return false;
  }
  return true;
}

// "dat=PATH" and "fixdat". A word that starts with F or has '=' at index 3
// meets none of the rules above, so neither word sets anything else.
void apply_catalogue_word(RunOptions& options, std::string_view word) {
  if (has_at(word, 0, 'D') && has_at(word, 1, 'A') && has_at(word, 2, 'T') &&
      has_at(word, 3, '=')) {
    options.datFiles.emplace_back(word.substr(4));
  }
  if (word.size() == 6 && has_at(word, 0, 'F') && has_at(word, 1, 'I') && has_at(word, 2, 'X') &&
      has_at(word, 3, 'D') && has_at(word, 4, 'A') && has_at(word, 5, 'T')) {
    options.fixDat = 1;
  }
}

// True when `word` begins with `prefix` (upper case), without regard to case.
bool has_prefix(std::string_view word, std::string_view prefix) {
  return word.size() >= prefix.size() && is_word(word.substr(0, prefix.size()), prefix);
}

// "to=TARGET", "out=FOLDER", "tv=ntsc|pal" and "1g1r". Words beginning with
// T, O or a digit, and the others of these, meet none of the rules above.
void apply_export_word(RunOptions& options, std::string_view word) {
  if (has_prefix(word, "TO=")) options.exportTarget = std::string(word.substr(3));
  if (has_prefix(word, "OUT=")) options.outFolder = std::string(word.substr(4));
  if (has_prefix(word, "TV=")) {
    const std::string_view system = word.substr(3);
    if (is_word(system, "PAL")) {
      options.palWanted = 1;
    } else if (is_word(system, "NTSC")) {
      options.palWanted = 0;
    } else {
      options.unknownTargets.emplace_back(word);
    }
  }
  if (is_word(word, "1G1R")) options.oneGame = 1;
}

}  // namespace

bool apply_option_word(RunOptions& options, std::string_view word) {
  bool convert = false;
  if (has_at(word, 0, 'L')) {
    options.list = 1;
    if (has_at(word, 4, 'D')) options.listDirs = 1;
  }
  if (has_at(word, 0, 'R')) options.rename = 1;
  if (has_at(word, 0, 'D') && has_at(word, 3, 'S')) options.dirs = 1;
  if (has_at(word, 0, 'D') && has_at(word, 3, 'P')) options.deep = 1;
  if (has_at(word, 0, 'S') && has_at(word, 3, 'N')) {
    options.scan = 1;
    if (has_at(word, 4, 'N')) {
      options.scanNew = 1;
      if (has_at(word, 7, 'D')) options.scanDirs = 1;
    }
    if (has_at(word, 4, 'D')) options.scanDirs = 1;
  }
  if (has_at(word, 0, 'Q')) options.quiet = 1;
  if (has_at(word, 0, 'A') && has_at(word, 4, 'T')) {
    options.audit = 1;
    if (has_at(word, 5, '2')) options.audit2 = 1;
    if (has_at(word, 5, '3')) options.audit3 = 1;
  }
  if (has_at(word, 0, 'S') && has_at(word, 2, 'P') && word.size() == 4) {
    options.sep = 1;
    options.sepChar = word[3];
  }
  if (has_at(word, 0, 'C') && has_at(word, 1, 'H')) {
    options.changes = 1;
    if (has_at(word, 7, 'N')) {
      options.changesAll = 0;
      if (has_at(word, 10, '-')) options.changesReversed = 1;
    }
    if (has_at(word, 7, '-')) options.changesReversed = 1;
  }
  if (has_at(word, 0, 'C') && has_at(word, 6, 'T')) convert = true;
  if (has_at(word, 0, 'M') && has_at(word, 2, 'V')) {
    options.move = 1;
    options.rename = 1;
  }
  if (has_at(word, 0, 'M') && has_at(word, 8, 'S')) options.messExport = 1;
  if (is_word(word, "PLAN")) options.plan = 1;
  if (is_word(word, "UNDO")) options.undo = 1;
  if (is_word(word, "VERIFY")) options.verify = 1;
  if (is_word(word, "COPY")) options.copy = 1;
  if (is_word(word, "CSV")) options.csv = 1;
  apply_catalogue_word(options, word);
  apply_export_word(options, word);
  return convert;
}

int count_modes(const RunOptions& options) {
  return options.list + options.messExport + options.scan + options.rename +
         (options.audit ? 1 : 0) + options.undo + options.copy;
}

std::FILE* ignored_word_stream(const RunOptions& options) {
  return options.messExport ? stderr : stdout;
}
