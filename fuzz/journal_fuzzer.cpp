// Fuzz target for the undo journal's reader: reads the input as a
// journal and, when it yields a run, checks what the reader promised of it.
// Also checks that any field escapes and reads back to the same bytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string_view>

#include "journal/journal_reader.h"
#include "journal/undo_journal.h"
#include "system/file_system.h"

namespace {

// Every kind of run a journal records; a run of any other is a broken promise.
constexpr std::string_view RUN_KINDS[] = {"rename", "move", "copy"};

void check(bool promise) {
  if (!promise) std::abort();
}

bool known_kind(std::string_view mode) {
  return std::find(std::begin(RUN_KINDS), std::end(RUN_KINDS), mode) != std::end(RUN_KINDS);
}

void check_run(const JournalReading& reading) {
  if (!reading.found) return;
  check(reading.problem == JournalProblem::none);
  check(!reading.run.time.empty() && known_kind(reading.run.mode));
  check(reading.run.steps.size() <= JOURNAL_STEP_LIMIT);
  for (const JournalStep& step : reading.run.steps) {
    check(!step.path.empty());
    check(step.isFolder || !step.target.empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto back = unescape_journal_field(escape_journal_field(bytes));
  check(back && *back == bytes);
  if (size == 0) return 0;
  check_run(read_last_open_run(*open_memory(bytes)));
  return 0;
}
