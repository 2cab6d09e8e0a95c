#include "app/csv_run.h"

#include <cstdio>

#include "app/option_words.h"
#include "export/one_game.h"
#include "run/failure_messages.h"
#include "run/run_state.h"
#include "system/file_system.h"

namespace {

void print_earlier_unusable(const EarlierReport& earlier) {
  const std::string why = earlier.outcome == EarlierReport::Outcome::unreadable
                              ? earlier.failure.reason()
                              : "it is no report of this tool";
  std::printf("The earlier %s could not be used (%s); this run compares with no earlier run.\n",
              CSV_REPORT_NAME, why.c_str());
}

void print_changes(const CsvChanges& changes) {
  std::printf("Since the last run: %d new, %d gone (%s)\n", changes.added, changes.gone,
              CSV_REPORT_NAME);
}

bool writes_csv() {
  const RunOptions& options = run_state().options;
  return options.csv && mode_takes_csv(options);
}

}  // namespace

bool mode_takes_csv(const RunOptions& options) {
  // list and listd set list, rename and move set rename.
  return options.list || options.rename || options.copy;
}

void print_csv_ignored(const RunOptions& options) {
  std::fprintf(ignored_word_stream(options),
               "csv only works with list, listd, rename, move and copy; it was ignored.\n");
}

EarlierReport start_csv_report() {
  if (!writes_csv()) return {};
  run_state().found.recording = true;
  EarlierReport earlier = read_earlier_report(run_state().directories.start);
  if (earlier.outcome == EarlierReport::Outcome::unreadable ||
      earlier.outcome == EarlierReport::Outcome::malformed) {
    print_earlier_unusable(earlier);
  }
  return earlier;
}

void finish_csv_report(const EarlierReport& earlier) {
  if (!run_state().found.recording) return;
  const std::vector<CsvRow> rows = build_csv_rows(run_state().found, earlier, run_games_shown());
  if (const FsResult written = write_csv_report(run_state().directories.start, rows);
      !written.ok()) {
    print_cannot_write(CSV_REPORT_NAME, written);
  }
  print_changes(count_changes(rows));
}
