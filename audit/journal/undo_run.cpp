#include "journal/undo_run.h"

#include <string_view>
#include <unordered_map>

#include "files/file_chunks.h"
#include "journal/disk_view.h"

namespace {

// Every record passes the same guard before undo acts on it: the journal's
// reader has kept only paths inside the start folder (relative, no "..", no
// drive); here no folder that holds them may be unreadable or be reached
// through a link, and a copy is removed only when it is the very file the
// run made (its identity, recorded when the run created it) and still holds
// the bytes the run wrote.
class RunUndoer {
 public:
  RunUndoer() : view_(file_system()) {}

  void undo_move(const JournalStep& step) {
    if (!passes_guard(step)) return;
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
    const FsResult moved = file_system().move_file(step.target, step.path);
    if (moved.status == FsStatus::alreadyExists) return leave(step, LeftFile::Reason::nameTaken);
    if (!moved.ok()) return leave(step, LeftFile::Reason::cannotMove, moved);
    view_.remove(step.target);
    view_.add(step.path, entry);
    ++outcome_.restored;
  }

  // A copy goes only while it is the file the run made and holds the bytes
  // the run wrote; the temporary file of a copy that was stopped goes when
  // it is the run's own.
  void undo_copy(const JournalStep& step) {
    if (!passes_guard(step)) return;
    (void)remove_stopped_copy(step);  // a temporary file that stays is only litter
    const DirectoryEntry* placed = view_.find(step.target);
    if (placed == nullptr) return;  // never put in place, or removed since
    if (!step.identityKnown || !made_by_the_run(step.target, step))
      return leave(step, LeftFile::Reason::notMade);
    if (placed->isDirectory || placed->size != step.size || !holds_crc(step.target, step.crc))
      return leave(step, LeftFile::Reason::changed);
    if (const FsResult removed = file_system().remove_file(step.target); !removed.ok())
      return leave(step, LeftFile::Reason::cannotMove, removed);
    view_.remove(step.target);
    ++outcome_.removed;
  }

  // Only an empty folder goes; a folder that holds anything stays quietly.
  void undo_folder(const JournalStep& step) {
    if (passes_a_link(step.path)) return;
    const FsResult removed = file_system().remove_directory(step.path);
    if (removed.ok()) {
      view_.remove(step.path);
    } else if (removed.status != FsStatus::alreadyExists && !removed.missing()) {
      outcome_.foldersKept.push_back(removed);
    }
  }

  // Removes the temporary file of a copy when it is there and the run's own.
  FsResult remove_stopped_copy(const JournalStep& step) {
    if (view_.find(step.path) == nullptr || !step.identityKnown ||
        !made_by_the_run(step.path, step))
      return {};
    const FsResult removed = file_system().remove_file(step.path);
    if (removed.ok()) view_.remove(step.path);
    return removed;
  }

  // Whether undo may act on the step's places: their folders can be read and
  // none is reached through a link; else the step is left, with the reason.
  bool passes_guard(const JournalStep& step) {
    for (const std::string* path : {&step.target, &step.path}) {
      if (const FsResult failure = view_.listing_failure(*path); !failure.ok()) {
        leave(step, LeftFile::Reason::folderUnread, failure);
        return false;
      }
      if (passes_a_link(*path)) {
        leave(step, LeftFile::Reason::linkOnTheWay);
        return false;
      }
    }
    return true;
  }

  UndoOutcome outcome() const { return outcome_; }

 private:
  // Whether a folder on the way to `path` is a link.
  bool passes_a_link(const std::string& path) {
    const std::string normal = DiskView::normal_path(path);
    for (std::size_t at = normal.find(PATH_SEPARATOR); at != std::string::npos;
         at = normal.find(PATH_SEPARATOR, at + 1)) {
      const DirectoryEntry* folder = view_.find(normal.substr(0, at));
      if (folder != nullptr && folder->isLink) return true;
    }
    return false;
  }

  void leave(const JournalStep& step, LeftFile::Reason reason, const FsResult& failure = {}) {
    outcome_.left.push_back({step.target, step.isCopy ? "" : step.path, reason, failure});
  }

  // Whether the file at `path` is the one the copy record names.
  static bool made_by_the_run(const std::string& path, const JournalStep& step) {
    FileIdentity identity;
    return file_system().identify(path, identity).ok() && identity == step.identity;
  }

  // Whether the file at `path` reads whole with the CRC-32 `crc`.
  static bool holds_crc(const std::string& path, std::uint32_t crc) {
    std::uint64_t size = 0;
    std::uint32_t sum = 0;
    return measure_file(path, size, sum).ok() && sum == crc;
  }

  DiskView view_;
  UndoOutcome outcome_;
};

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
    } else if (step.isCopy) {
      if (first_move_to[step.target] == at) undoer.undo_copy(step);
    } else if (first_move_to[step.target] == at) {
      undoer.undo_move(step);
    }
  }
  return undoer.outcome();
}

std::vector<FsResult> remove_stopped_copies(const JournalRun& run) {
  std::vector<FsResult> failures;
  RunUndoer undoer;
  for (const JournalStep& step : run.steps) {
    if (!step.isCopy) continue;
    JournalStep temporary_only = step;
    temporary_only.target = step.path;  // the guard looks at the temporary file alone
    if (!undoer.passes_guard(temporary_only)) continue;
    if (const FsResult removed = undoer.remove_stopped_copy(step); !removed.ok())
      failures.push_back(removed);
  }
  return failures;
}

bool UndoOutcome::failed_on_the_disk() const {
  for (const LeftFile& file : left) {
    if (!file.failure.ok()) return true;
  }
  return false;
}
