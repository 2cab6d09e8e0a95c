#include "app/undo_mode.h"

#include <cinttypes>
#include <cstdio>

#include "journal/journal_reader.h"
#include "journal/journal_writer.h"
#include "journal/planning_file_system.h"
#include "journal/undo_run.h"
#include "run/failure_messages.h"
#include "run/run_state.h"
#include "system/file_system.h"

namespace {

// A name as the console shows it: control bytes as "%" and two hex digits,
// so that one file stays one line.
std::string shown(const std::string& name) {
  std::string text;
  for (const char character : name) {
    const auto byte = static_cast<unsigned char>(character);
    if (byte >= ' ' && byte != 0x7f) {
      text += character;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
      text += escaped;
    }
  }
  return text;
}

const char* reason_text(const LeftFile& file) {
  const bool copy = file.original.empty();
  switch (file.reason) {
    case LeftFile::Reason::nameTaken:
      return "its old name is in use";
    case LeftFile::Reason::changed:
      return copy ? "its bytes are not the ones the run copied"
                  : "its size is not the one the run moved";
    case LeftFile::Reason::gone:
      return "it is no longer where the run put it";
    case LeftFile::Reason::cannotMove:
      return copy ? "it cannot be removed" : "it cannot be moved back";
    case LeftFile::Reason::folderUnread:
      return "its folder cannot be read";
    case LeftFile::Reason::linkOnTheWay:
      return "a folder on its way is a link to another place";
    case LeftFile::Reason::notMade:
      return "it is not the file the run made";
  }
  return "";
}

void print_journal_problem(JournalProblem problem, std::uint64_t line) {
  switch (problem) {
    case JournalProblem::foreign:
      std::printf("%s is not an undo journal; nothing was moved.\n", UNDO_JOURNAL_NAME);
      break;
    case JournalProblem::damaged:
      std::printf("%s: line %" PRIu64 " cannot be read; the run it belongs to was left as it is.\n",
                  UNDO_JOURNAL_NAME, line);
      break;
    case JournalProblem::outside:
      std::printf("%s: line %" PRIu64
                  " names a place outside this folder; the run it belongs to was left as it "
                  "is.\n",
                  UNDO_JOURNAL_NAME, line);
      break;
    case JournalProblem::tooLarge:
      std::printf("%s: too large to read at line %" PRIu64 "; nothing was moved.\n",
                  UNDO_JOURNAL_NAME, line);
      break;
    default:
      std::printf("%s cannot be read; nothing was moved.\n", UNDO_JOURNAL_NAME);
      break;
  }
}

void print_torn_tail() {
  std::printf("%s: its last line was cut short, a change that was never made; it was ignored.\n",
              UNDO_JOURNAL_NAME);
}

void print_no_journal() {
  std::printf("Nothing to undo: there is no %s here.\n", UNDO_JOURNAL_NAME);
}

void print_all_undone() {
  std::printf("Nothing to undo: every run in %s was undone already.\n", UNDO_JOURNAL_NAME);
}

void print_journal_unwritable() {
  std::printf("%s cannot be written, so the run could not be marked undone; nothing was moved.\n",
              UNDO_JOURNAL_NAME);
}

void print_mark_failed() {
  std::printf("%s: the run could not be marked undone.\n", UNDO_JOURNAL_NAME);
}

void print_undoing(const JournalRun& run, bool planned) {
  std::printf("%s the %s run of %s\n", planned ? "Plan only: undo would take back" : "Undoing",
              run.mode.c_str(), shown(run.time).c_str());
}

void print_outcome(const JournalRun& run, const UndoOutcome& outcome, bool planned) {
  if (run.mode == "copy") {
    std::printf("%s %d copies; ", planned ? "Would remove" : "Removed", outcome.removed);
    // A copy run moves a file only to set aside a list its own replaced.
    if (outcome.restored > 0)
      std::printf("%s %d files; ", planned ? "would restore" : "restored", outcome.restored);
  } else {
    std::printf("%s %d files; ", planned ? "Would restore" : "Restored", outcome.restored);
  }
  std::printf("%zu left as they are%s\n", outcome.left.size(), outcome.left.empty() ? "." : ":");
  for (const LeftFile& file : outcome.left) {
    const std::string why = !file.failure.ok() ? " (" + file.failure.reason() + ")" : std::string();
    const std::string from = file.original.empty() ? "" : " -> " + shown(file.original);
    std::printf("  %s%s: %s%s\n", shown(file.place).c_str(), from.c_str(), reason_text(file),
                why.c_str());
  }
}

void print_plan_closing() {
  std::printf("Plan only: nothing was changed.\n");
}

// Shows what undo would take back, through a view that changes nothing.
void plan_undo(const JournalRun& run) {
  FileSystem& disk = file_system();
  PlanningFileSystem planner(disk);
  use_file_system(&planner);
  print_undoing(run, true);
  const UndoOutcome outcome = undo_run(run);
  use_file_system(&disk);
  print_outcome(run, outcome, true);
  print_plan_closing();
}

void print_run_kept() {
  std::printf("The run stays open in %s: undo again to take back what is left.\n",
              UNDO_JOURNAL_NAME);
}

// Reads the run to take back from the journal at `path`; false, after
// saying why, when there is none or it cannot be trusted.
bool read_run_to_undo(const std::string& path, JournalRun& run) {
  FileHandle journal;
  const FsResult opened = file_system().open(path, "rb", journal, true);
  if (!opened.ok() && !opened.missing()) {
    print_cannot_read(path, opened);
    print_journal_problem(JournalProblem::unreadable, 0);
    return false;
  }
  // An empty journal is the one a lock just made.
  if (journal == nullptr || (journal->seek(0, SEEK_END).ok() && journal->tell() == 0)) {
    print_no_journal();
    return false;
  }
  JournalReading reading = read_last_open_run(*journal);
  if (!journal->failure().ok()) print_cannot_read(path, journal->failure());
  journal.reset();
  if (reading.problem != JournalProblem::none) {
    print_journal_problem(reading.problem, reading.line);
    return false;
  }
  if (!reading.found) {
    print_all_undone();
    return false;
  }
  if (reading.tornTail) print_torn_tail();
  run = std::move(reading.run);
  return true;
}

}  // namespace

void run_undo() {
  const std::string path = join_path(run_state().directories.start, UNDO_JOURNAL_NAME);
  JournalRun run;
  if (!read_run_to_undo(path, run)) return;
  if (run_state().options.plan) return plan_undo(run);
  // The mark must be writable before anything moves, or a second undo
  // would take the same run again.
  JournalWriter writer;
  if (const FsResult opened = writer.open(path); !opened.ok()) {
    if (opened.status != FsStatus::refused) print_cannot_write(path, opened);
    return print_journal_unwritable();
  }
  print_undoing(run, false);
  const UndoOutcome outcome = undo_run(run);
  for (const FsResult& kept : outcome.foldersKept) print_cannot_remove_folder(kept.path, kept);
  if (outcome.failed_on_the_disk()) {
    print_outcome(run, outcome, false);
    return print_run_kept();
  }
  JournalRecord mark;
  mark.kind = JournalRecordKind::undone;
  mark.run = run.number;
  // Not synced: a mark lost with the machine makes the next undo take the
  // same run again, and find every file back already.
  if (!writer.append(mark) || !writer.close(false)) {
    print_cannot_write(path, writer.failure());
    print_mark_failed();
  }
  print_outcome(run, outcome, false);
}
