#include "journal/undo_mode.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <string_view>
#include <unordered_map>

#include "journal/disk_view.h"
#include "journal/journal_writer.h"
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

const char* reason_text(LeftFile::Reason reason) {
  switch (reason) {
    case LeftFile::Reason::nameTaken:
      return "its old name is in use";
    case LeftFile::Reason::changed:
      return "its size is not the one the run moved";
    case LeftFile::Reason::gone:
      return "it is no longer where the run put it";
    case LeftFile::Reason::cannotMove:
      return "it cannot be moved back";
    case LeftFile::Reason::folderUnread:
      return "its folder cannot be read";
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
    case JournalProblem::tooLarge:
      std::printf("%s: too large to read at line %" PRIu64 "; nothing was moved.\n",
                  UNDO_JOURNAL_NAME, line);
      break;
    default:
      std::printf("%s cannot be read; nothing was moved.\n", UNDO_JOURNAL_NAME);
      break;
  }
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

void print_undoing(const JournalRun& run) {
  std::printf("Undoing the %s run of %s\n", run.mode.c_str(), shown(run.time).c_str());
}

void print_outcome(const UndoOutcome& outcome) {
  std::printf("Restored %d files; %zu left as they are%s\n", outcome.restored, outcome.left.size(),
              outcome.left.empty() ? "." : ":");
  for (const LeftFile& file : outcome.left) {
    const std::string why = file.error != 0 ? " (" + error_text(file.error) + ")" : std::string();
    std::printf("  %s -> %s: %s%s\n", shown(file.place).c_str(), shown(file.original).c_str(),
                reason_text(file.reason), why.c_str());
  }
}

void print_run_kept() {
  std::printf("The run stays open in %s: undo again to take back what is left.\n",
              UNDO_JOURNAL_NAME);
}

// Whether a file stayed because the disk failed, not because of what lies
// there: the run is then not marked undone, so that undo can try again.
bool failed_on_the_disk(const UndoOutcome& outcome) {
  for (const LeftFile& file : outcome.left) {
    if (file.error != 0) return true;
  }
  return false;
}

class RunUndoer {
 public:
  RunUndoer() : view_(file_system()) {}

  void undo_move(const JournalStep& step) {
    // Nothing is concluded from a folder the disk would not list.
    for (const std::string* path : {&step.target, &step.path}) {
      if (const int error = view_.listing_error(*path); error != 0)
        return leave(step, LeftFile::Reason::folderUnread, error);
    }
    const DirectoryEntry* placed = view_.find(step.target);
    const bool source_taken = view_.find(step.path) != nullptr;
    if (placed == nullptr) {
      if (!source_taken) leave(step, LeftFile::Reason::gone);
      return;  // else the move never happened
    }
    if (placed->isDirectory || placed->size != step.size)
      return leave(step, LeftFile::Reason::changed);
    if (source_taken) return leave(step, LeftFile::Reason::nameTaken);
    const DirectoryEntry entry = *placed;
    const FsStatus status = file_system().move_file(step.target, step.path);
    if (status == FsStatus::alreadyExists) return leave(step, LeftFile::Reason::nameTaken);
    if (status != FsStatus::ok) return leave(step, LeftFile::Reason::cannotMove, errno);
    view_.remove(step.target);
    view_.add(step.path, entry);
    ++outcome_.restored;
  }

  // Only an empty folder goes; a folder that holds anything stays quietly.
  void undo_folder(const JournalStep& step) {
    const FsStatus status = file_system().remove_directory(step.path);
    if (status == FsStatus::ok) {
      view_.remove(step.path);
    } else if (status != FsStatus::alreadyExists) {
      print_cannot_remove_folder(step.path, errno);
    }
  }

  UndoOutcome outcome() const { return outcome_; }

 private:
  void leave(const JournalStep& step, LeftFile::Reason reason, int error = 0) {
    outcome_.left.push_back({step.target, step.path, reason, error});
  }

  DiskView view_;
  UndoOutcome outcome_;
};

// Reads the run to take back from the journal at `path`; false, after
// saying why, when there is none or it cannot be trusted.
bool read_run_to_undo(const std::string& path, JournalRun& run) {
  FileHandle journal = file_system().open(path, "rb", true);
  if (journal == nullptr && errno != ENOENT) {
    print_cannot_read(path, errno);
    print_journal_problem(JournalProblem::unreadable, 0);
    return false;
  }
  // An empty journal is the one a lock just made.
  if (journal == nullptr || (journal->seek(0, SEEK_END) && journal->tell() == 0)) {
    print_no_journal();
    return false;
  }
  JournalReading reading = read_last_open_run(*journal);
  if (journal->error() != 0) print_cannot_read(path, journal->error());
  journal.reset();
  if (reading.problem != JournalProblem::none) {
    print_journal_problem(reading.problem, reading.line);
    return false;
  }
  if (!reading.found) {
    print_all_undone();
    return false;
  }
  run = std::move(reading.run);
  return true;
}

}  // namespace

UndoOutcome undo_run(const JournalRun& run) {
  // A run never moves a file out of its targets, so a move to a name an
  // earlier move of the run took cannot have happened: it is the last one
  // of a run stopped before its failure was on record.
  std::unordered_map<std::string_view, std::size_t> first_move_to;
  for (std::size_t at = 0; at < run.steps.size(); ++at) {
    if (!run.steps[at].isFolder) first_move_to.try_emplace(run.steps[at].target, at);
  }
  RunUndoer undoer;
  for (std::size_t at = run.steps.size(); at-- > 0;) {
    const JournalStep& step = run.steps[at];
    if (step.isFolder) {
      undoer.undo_folder(step);
    } else if (first_move_to[step.target] == at) {
      undoer.undo_move(step);
    }
  }
  return undoer.outcome();
}

void run_undo() {
  const std::string path = join_path(run_state().directories.start, UNDO_JOURNAL_NAME);
  JournalRun run;
  if (!read_run_to_undo(path, run)) return;
  // The mark must be writable before anything moves, or a second undo
  // would take the same run again.
  JournalWriter writer;
  if (writer.open(path) != JournalOpenFailure::none) {
    if (writer.error() != 0) print_cannot_write(path, writer.error());
    return print_journal_unwritable();
  }
  print_undoing(run);
  const UndoOutcome outcome = undo_run(run);
  if (failed_on_the_disk(outcome)) {
    print_outcome(outcome);
    return print_run_kept();
  }
  JournalRecord mark;
  mark.kind = JournalRecordKind::undone;
  mark.run = run.number;
  // Not synced: a mark lost with the machine makes the next undo take the
  // same run again, and find every file back already.
  if (!writer.append(mark) || !writer.close(false)) {
    print_cannot_write(path, writer.error());
    print_mark_failed();
  }
  print_outcome(outcome);
}
