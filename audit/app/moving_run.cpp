#include "app/moving_run.h"

#include <cstdio>
#include <ctime>
#include <string>

#include "app/copy_mode.h"
#include "app/option_words.h"
#include "journal/journaling_file_system.h"
#include "journal/planning_file_system.h"
#include "run/failure_messages.h"
#include "run/run_state.h"
#include "system/file_system.h"

namespace {

void print_plan_summary(int moves) {
  std::printf("Plan only: %d files would move, nothing was changed.\n", moves);
}

void print_journal_refusal(const FsResult& refusal, int moves) {
  if (moves > 0) {
    std::printf("After %d moves %s could not be written; no further file was moved.\n", moves,
                UNDO_JOURNAL_NAME);
    return;
  }
  const char* why =
      refusal.status == FsStatus::refused ? "is not an undo journal" : "cannot be written";
  std::printf("No file was moved: %s %s, and a move that cannot be undone is not made.\n",
              UNDO_JOURNAL_NAME, why);
}

void print_journal_unsynced() {
  std::printf("%s could not be written to the disk in full.\n", UNDO_JOURNAL_NAME);
}

// The current time in UTC, as the journal records it.
std::string time_now() {
  const std::time_t now = std::time(nullptr);
  char text[32] = "unknown";
  if (const std::tm* utc = std::gmtime(&now)) {
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", utc);
  }
  return text;
}

void plan_walk(void (*walk)()) {
  FileSystem& disk = file_system();
  PlanningFileSystem planner(disk, run_state().directories.start);
  use_file_system(&planner);
  walk();
  use_file_system(&disk);
  if (run_state().options.copy) return print_copy_summary(true);
  print_plan_summary(planner.planned_moves());
}

const char* journal_mode(const RunOptions& options) {
  if (options.copy) return "copy";
  return options.move ? "move" : "rename";
}

void journaled_walk(void (*walk)()) {
  FileSystem& disk = file_system();
  const bool copies = run_state().options.copy;
  if (copies) remove_left_copies();
  JournalingFileSystem journal(disk, journal_folder(), run_state().directories.start, time_now(),
                               journal_mode(run_state().options));
  use_file_system(&journal);
  if (copies) run_state().copy.recorder = &journal;
  walk();
  run_state().copy.recorder = nullptr;
  use_file_system(&disk);
  if (copies) print_copy_summary(false);
  const bool synced = journal.finish();
  if (!journal.failure().ok()) print_cannot_write(UNDO_JOURNAL_NAME, journal.failure());
  if (!journal.refusal().ok()) {
    print_journal_refusal(journal.refusal(), journal.moves());
  } else if (!synced) {
    print_journal_unsynced();
  }
}

}  // namespace

bool moves_files(const RunOptions& options) {
  return options.rename && !options.list;
}

bool journals_changes(const RunOptions& options) {
  return moves_files(options) || options.copy;
}

void run_moving_walk(void (*walk)()) {
  if (run_state().options.plan) {
    plan_walk(walk);
  } else {
    journaled_walk(walk);
  }
}

void print_plan_ignored(const RunOptions& options) {
  std::fprintf(ignored_word_stream(options),
               "plan only works with rename, move, copy and undo; it was ignored.\n");
}
