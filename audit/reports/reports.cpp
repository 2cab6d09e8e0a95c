#include "reports/reports.h"

#include "catalogue/have_files.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/rom_database.h"
#include "export/one_game.h"
#include "files/tool_files.h"
#include "naming/info_config.h"
#include "reports/report_messages.h"
#include "run/failure_messages.h"
#include "run/run_state.h"

namespace {

constexpr char IMAGE_NOUN[] = "ROMS";
constexpr char GAME_NOUN[] = "games";

// With 1g1r the reports count games, each shown by one entry; else every
// entry stands for itself (empty).
std::vector<bool> shown_entries() {
  return run_games_shown();
}

bool is_shown(const std::vector<bool>& shown, int index) {
  return shown.empty() || shown[static_cast<std::size_t>(index)];
}

int shown_count(const std::vector<bool>& shown) {
  return shown.empty() ? db_count()
                       : static_cast<int>(std::count(shown.begin(), shown.end(), true));
}

const char* noun(const std::vector<bool>& shown) {
  return shown.empty() ? IMAGE_NOUN : GAME_NOUN;
}

// The copies of each entry this run found: what the dupes list counts.
const std::vector<std::int32_t>& found() {
  return rom_database().have;
}

// Prints a report's headline and writes it to the report after one blank,
// which marks it as no name for the reader of the have list.
void write_headline(FileStream& report, const std::string& headline) {
  print_headline(headline);
  // A failed write stays in the stream, which reports it when it is closed.
  (void)print_to(report, " %s", headline.c_str());
}

std::string miss_headline(int missing, int excluded, const std::vector<bool>& shown) {
  char suffix[32] = "";
  if (excluded > 0) std::snprintf(suffix, sizeof suffix, " (%d excluded)", excluded);
  char line[160];
  std::snprintf(line, sizeof line, "You are missing %d of %d known %s %s%s\n\n", missing,
                shown_count(shown), SYSTEM_NAME, noun(shown), suffix);
  return line;
}

std::string have_headline(int owned, const std::vector<bool>& shown) {
  char line[160];
  std::snprintf(line, sizeof line, "You have %d of %d known %s %s\n\n", owned, shown_count(shown),
                SYSTEM_NAME, noun(shown));
  return line;
}

// An entry not had counts as missing unless its group is not wanted.
bool is_excluded(int index) {
  const int group = find_info_group(index);
  return group >= 0 && run_state().info.groups[group].include == 0;
}

// Titles found more than once, on the console and appended to the dupes
// list (no headline there, so that runs simply add their lines).
class DupesList {
 public:
  ~DupesList() { finish_tool_file(file_, DUPES_REPORT_NAME); }

  void add(const char* name, long copies) {
    if (!started_) {
      started_ = true;
      print_dupes_heading();
      file_ = append_to_tool_file(DUPES_REPORT_NAME);
    }
    print_dupe(name, copies);
    // A failed write stays in the stream; finish_tool_file reports it.
    if (file_ != nullptr) (void)print_to(*file_, "%s [%ld copies]\n", name, copies);
  }

 private:
  bool started_ = false;
  FileHandle file_;
};

// Writes the have database and the have list; false when the list cannot
// be opened (then neither is written).
bool write_have_files(int owned, const std::vector<bool>& shown) {
  Replacement rewrite;
  FileStream* report = start_rewrite(rewrite, HAVE_REPORT_NAME);
  if (report == nullptr) return false;
  if (const FsResult written = write_have_database(run_state().directories); !written.ok()) {
    print_cannot_write(HAVE_DATABASE_NAME, written);
    print_kept_as_it_was(HAVE_DATABASE_NAME);
  }
  write_headline(*report, have_headline(owned, shown));
  write_have_names(*report, shown.empty() ? nullptr : &shown);
  finish_rewrite(rewrite, HAVE_REPORT_NAME);
  return true;
}

int owned_count(const std::vector<bool>& shown) {
  int owned = 0;
  for (int index = 0; index < db_count(); ++index) owned += is_shown(shown, index) && db_had(index);
  return owned;
}

// A have file that could not be read whole is said, and kept as it is.
void note_unread(const HaveFileRead& read, const char* name) {
  if (read.outcome == HaveFileRead::Outcome::tooLarge) {
    print_too_large(name);
  } else if (read.outcome == HaveFileRead::Outcome::unreadable) {
    print_cannot_read(name, read.failure);
  } else {
    return;
  }
  run_state().keepHaveFiles = true;
}

}  // namespace

void db_prepare() {
  db_build_counters();
  const HaveFileRead database = db_seed_from_database(run_state().directories);
  if (database.outcome == HaveFileRead::Outcome::seeded) {
    const RunOptions& options = run_state().options;
    if (!options.quiet && !options.messExport) {
      print_database_found(HAVE_DATABASE_NAME, HAVE_REPORT_NAME);
    }
    return;
  }
  note_unread(database, HAVE_DATABASE_NAME);
  note_unread(db_seed_from_have_list(run_state().directories), HAVE_REPORT_NAME);
}

void db_print_stats() {
  if (run_state().options.messExport) return;
  const DbStats stats = db_stats();
  print_stats(stats.entries, stats.unclassed, stats.redumps, stats.hacks, stats.badDumps);
}

bool db_entry_missing(int index) {
  return !db_had(index) && !is_excluded(index);
}

void write_miss_report() {
  const std::vector<bool> shown = shown_entries();
  int missing = 0;
  int excluded = 0;
  for (int index = 0; index < db_count(); ++index) {
    if (db_had(index) || !is_shown(shown, index)) continue;
    if (is_excluded(index)) {
      ++excluded;
    } else {
      ++missing;
    }
  }
  Replacement rewrite;
  FileStream* report = start_rewrite(rewrite, MISS_REPORT_NAME);
  if (report == nullptr) return;
  write_headline(*report, miss_headline(missing, excluded, shown));
  for (int index = 0; index < db_count(); ++index) {
    if (!is_shown(shown, index) || !db_entry_missing(index)) continue;
    (void)print_to(*report, "%s\n", db_name(index));  // kept, see above
  }
  finish_rewrite(rewrite, MISS_REPORT_NAME);
}

void write_have_report() {
  const std::vector<bool> shown = shown_entries();
  const int owned = owned_count(shown);
  if (owned == 0) return;
  if (run_state().keepHaveFiles) {
    print_headline(have_headline(owned, shown));
    print_kept_as_it_was(HAVE_DATABASE_NAME);
    print_kept_as_it_was(HAVE_REPORT_NAME);
  } else if (!write_have_files(owned, shown)) {
    return;
  }
  // Only copies found now count: a title an earlier run had is no copy here.
  DupesList dupes;
  for (int index = 0; index < db_count(); ++index) {
    if (found()[index] > 1) dupes.add(db_name(index), found()[index]);
  }
}
