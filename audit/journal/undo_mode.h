#pragma once
// The journal room: the undo journal's writer and reader, the planning and
// journaling views of the disk, and undo. It may use run, the catalogue and
// system; the app picks which view a run goes through.
//
// The undo mode: takes back the most recent run of the start folder's undo
// journal that was not undone yet. Each file goes back where it came from,
// in reverse order and never over another file; the folders the run created
// are removed when empty; the run is marked undone in the journal. Files
// that cannot go back are left as they are and reported. The reports and
// the have database are not touched: they count what was found, not where
// it lies.

#include <cstdint>
#include <string>
#include <vector>

#include "journal/journal_reader.h"

// A file that undo left where it was, and why.
struct LeftFile {
  enum class Reason { nameTaken, changed, gone, cannotMove, folderUnread };
  std::string place;     // where the run put it
  std::string original;  // where it came from
  Reason reason = Reason::nameTaken;
  int error = 0;  // cannotMove: why the system refused
};

struct UndoOutcome {
  int restored = 0;
  std::vector<LeftFile> left;
};

// Takes back `run` through file_system(): moves and folder removals only.
UndoOutcome undo_run(const JournalRun& run);

// The whole mode, on the journal in the start folder, with its messages.
void run_undo();
