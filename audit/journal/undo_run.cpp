#include "journal/undo_run.h"

#include <string_view>
#include <unordered_map>

#include "journal/disk_view.h"
#include "system/file_chunks.h"

namespace {

class RunUndoer {
 public:
  RunUndoer() : view_(file_system()) {}

  void undo_move(const JournalStep& step) {
    // Nothing is concluded from a folder the disk would not list, and
    // nothing moves through a link to another place.
    for (const std::string* path : {&step.target, &step.path}) {
      if (const FsResult failure = view_.listing_failure(*path); !failure.ok())
        return leave(step, LeftFile::Reason::folderUnread, failure);
      if (passes_a_link(*path)) return leave(step, LeftFile::Reason::linkOnTheWay);
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
    const FsResult moved = file_system().move_file(step.target, step.path);
    if (moved.status == FsStatus::alreadyExists) return leave(step, LeftFile::Reason::nameTaken);
    if (!moved.ok()) return leave(step, LeftFile::Reason::cannotMove, moved);
    view_.remove(step.target);
    view_.add(step.path, entry);
    ++outcome_.restored;
  }

  // A copy goes only while it holds the bytes the run wrote; a temporary file
  // of a copy that was stopped goes in any case, as nothing else has its name.
  void undo_copy(const JournalStep& step) {
    if (view_.find(step.path) != nullptr && file_system().remove_file(step.path).ok())
      view_.remove(step.path);
    if (const FsResult failure = view_.listing_failure(step.target); !failure.ok())
      return leave(step, LeftFile::Reason::folderUnread, failure);
    const DirectoryEntry* placed = view_.find(step.target);
    if (placed == nullptr) return;  // never put in place, or removed since
    if (placed->isDirectory || placed->size != step.size || !holds_crc(step.target, step.crc))
      return leave(step, LeftFile::Reason::changed);
    if (const FsResult removed = file_system().remove_file(step.target); !removed.ok())
      return leave(step, LeftFile::Reason::cannotMove, removed);
    view_.remove(step.target);
    ++outcome_.restored;
  }

  // Only an empty folder goes; a folder that holds anything stays quietly.
  void undo_folder(const JournalStep& step) {
    const FsResult removed = file_system().remove_directory(step.path);
    if (removed.ok()) {
      view_.remove(step.path);
    } else if (removed.status != FsStatus::alreadyExists) {
      outcome_.foldersKept.push_back(removed);
    }
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

bool UndoOutcome::failed_on_the_disk() const {
  for (const LeftFile& file : left) {
    if (!file.failure.ok()) return true;
  }
  return false;
}
