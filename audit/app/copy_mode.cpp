#include "app/copy_mode.h"

#include <cstdio>
#include <string>

#include "journal/journal_reader.h"
#include "run/failure_messages.h"
#include "run/run_state.h"
#include "system/file_system.h"
#include "system/tool_file_names.h"

namespace {

bool ends_with(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

void remove_left_copies() {
  FileHandle journal;
  const std::string path = join_path(run_state().directories.start, UNDO_JOURNAL_NAME);
  if (const FsResult opened = file_system().open(path, "rb", journal, true); !opened.ok()) {
    if (!opened.missing()) print_cannot_read(path, opened);
    return;
  }
  const JournalReading reading = read_last_open_run(*journal);
  if (!journal->failure().ok()) print_cannot_read(path, journal->failure());
  journal.reset();
  if (!reading.found || reading.run.mode != "copy") return;
  for (const JournalStep& step : reading.run.steps) {
    if (!step.isCopy || !ends_with(step.path, COPY_TEMPORARY_SUFFIX)) continue;
    const FsResult removed = file_system().remove_file(step.path);
    if (!removed.ok() && !removed.missing()) print_cannot_write(step.path, removed);
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
