#pragma once
// The journal room: the undo journal's writer and reader, the planning and
// journaling views of the disk, and undo. It may use run, the catalogue and
// system; the app picks which view a run goes through.
//
// Taking back one run of the undo journal: each file goes back where it came
// from, in reverse order and never over another file; each copy the run made
// is removed while it is the file the run made and holds the bytes it was
// made with, and a temporary file a stopped copy left behind with it; the
// folders the run created are removed when empty. Files that cannot go back
// are left as they are, each with its reason.

#include <cstdint>
#include <string>
#include <vector>

#include "journal/journal_reader.h"
#include "system/file_system.h"

// A file that undo left where it was, and why.
struct LeftFile {
  enum class Reason { nameTaken, changed, gone, cannotMove, folderUnread, linkOnTheWay, notMade };
  std::string place;     // where the run put it
  std::string original;  // where it came from; empty for a copy
  Reason reason = Reason::nameTaken;
  FsResult failure;  // cannotMove, folderUnread: why the system refused
};

struct UndoOutcome {
  int restored = 0;  // files moved back
  int removed = 0;   // copies removed
  std::vector<LeftFile> left;
  std::vector<FsResult> foldersKept;  // folders that could not be removed, and why

  // Whether a file stayed because the disk failed, not because of what lies
  // there: the run is then not marked undone, so that undo can try again.
  bool failed_on_the_disk() const;
};

// Takes back `run` through file_system(): moves and removals only.
UndoOutcome undo_run(const JournalRun& run);

// Removes the temporary files that the copies of `run`, stopped before they
// were put in place, left behind: each only when it is the file the run
// made, reached through no link. Returns the removals that failed.
std::vector<FsResult> remove_stopped_copies(const JournalRun& run);
