#include "app/copy_mode.h"

#include <cstdio>
#include <string>

#include "journal/journal_reader.h"
#include "journal/undo_run.h"
#include "run/failure_messages.h"
#include "run/run_state.h"
#include "system/file_system.h"
#include "system/tool_file_names.h"

void remove_left_copies() {
  FileHandle journal;
  const std::string path = join_path(journal_folder(), UNDO_JOURNAL_NAME);
  if (const FsResult opened = file_system().open(path, "rb", journal, true); !opened.ok()) {
    if (!opened.missing()) print_cannot_read(path, opened);
    return;
  }
  const JournalReading reading = read_last_open_run(*journal);
  if (!journal->failure().ok()) print_cannot_read(path, journal->failure());
  journal.reset();
  if (!reading.found || reading.run.mode != "copy") return;
  for (const FsResult& failure : remove_stopped_copies(reading.run)) {
    if (!failure.missing()) print_cannot_write(failure.path, failure);
  }
}

void print_copy_summary(bool planned) {
  const CopyState& copies = run_state().copy;
  if (planned) {
    std::printf("Plan only: %d files would be copied (already there: %d), nothing was changed.\n",
                copies.copied, copies.alreadyThere);
  } else {
    std::printf("Copied %d files; already there: %d.\n", copies.copied, copies.alreadyThere);
  }
}
