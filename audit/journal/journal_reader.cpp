#include "journal/journal_reader.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "files/line_reader.h"
#include "journal/undo_journal.h"

namespace {

struct RunMark {
  std::int64_t offset = 0;
  std::uint64_t line = 0;
  bool undone = false;
};

// What the first pass learns: where each run starts and whether it was
// undone, and the first line that cannot be read.
struct JournalOutline {
  std::vector<RunMark> runs;
  std::uint64_t firstDamagedLine = 0;  // 0: none
  JournalProblem problem = JournalProblem::none;
};

// The next record; `ended` at the end of the file, where a last line without
// its end counts as not there (`torn` tells).
std::optional<JournalRecord> read_record(LineReader& reader, std::string& line, bool& ended,
                                         bool* torn = nullptr) {
  bool too_long = false;
  const LineReader::Result result = reader.next(line, JOURNAL_LINE_LIMIT - 1, too_long);
  ended = result != LineReader::Result::line;
  if (torn != nullptr) *torn = result == LineReader::Result::unended;
  if (ended) return std::nullopt;
  reader.count_line();
  if (too_long) return std::nullopt;
  return parse_journal_line(line);
}

bool is_separator(char character) {
  return character == '/' || character == '\\';
}

// Whether `path` lies in the start folder: relative, without a drive and
// without a ".." step.
bool stays_inside(const std::string& path) {
  if (path.empty() || is_separator(path[0])) return false;
  if (path.size() >= 2 && path[1] == ':') return false;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = start;
    while (end < path.size() && !is_separator(path[end])) ++end;
    if (path.compare(start, end - start, "..") == 0) return false;
    start = end + 1;
  }
  return true;
}

// Whether `record` may follow what came before it in the file.
bool fits_outline(const JournalRecord& record, JournalOutline& outline, bool& after_move) {
  const bool follows_move = after_move;
  after_move = record.kind == JournalRecordKind::move;
  switch (record.kind) {
    case JournalRecordKind::run:
      return true;
    case JournalRecordKind::folder:
    case JournalRecordKind::move:
    case JournalRecordKind::copy:
      return !outline.runs.empty();
    case JournalRecordKind::failed:
      return follows_move;
    case JournalRecordKind::undone:
      if (record.run > outline.runs.size()) return false;
      outline.runs[record.run - 1].undone = true;
      return true;
  }
  return false;
}

JournalOutline outline_journal(LineReader& reader, bool& torn) {
  JournalOutline outline;
  std::string line;
  bool ended = false;
  const auto first = read_record(reader, line, ended);
  if (ended || first || line != JOURNAL_FIRST_LINE) {
    outline.problem = JournalProblem::foreign;
    return outline;
  }
  bool after_move = false;
  for (;;) {
    const auto record = read_record(reader, line, ended, &torn);
    if (ended) break;
    if (record && record->kind == JournalRecordKind::run) {
      if (outline.runs.size() == JOURNAL_RUN_LIMIT) {
        outline.problem = JournalProblem::tooLarge;
        outline.firstDamagedLine = reader.number();
        return outline;
      }
      outline.runs.push_back({reader.start(), reader.number(), false});
    }
    if ((!record || !fits_outline(*record, outline, after_move)) && outline.firstDamagedLine == 0) {
      outline.firstDamagedLine = reader.number();
    }
  }
  return outline;
}

int last_open_run(const JournalOutline& outline) {
  for (std::size_t index = outline.runs.size(); index > 0; --index) {
    if (!outline.runs[index - 1].undone) return static_cast<int>(index - 1);
  }
  return -1;
}

// Second pass: the steps of the run that starts at `mark`, failed moves left
// out. Its lines were all read well in the first pass.
JournalProblem load_run(LineReader& reader, const RunMark& mark, JournalReading& reading) {
  if (!reader.seek(mark.offset, mark.line - 1)) return JournalProblem::unreadable;
  std::string line;
  bool ended = false;
  std::size_t bytes = 0;
  auto& steps = reading.run.steps;
  for (auto record = read_record(reader, line, ended); record;
       record = read_record(reader, line, ended)) {
    if (record->kind == JournalRecordKind::run) {
      if (reader.number() != mark.line) break;
      reading.run.time = record->time;
      reading.run.mode = record->mode;
    } else if (record->kind == JournalRecordKind::failed) {
      if (!steps.empty()) steps.pop_back();
    } else if (record->kind != JournalRecordKind::undone) {
      const bool two_paths = record->kind != JournalRecordKind::folder;
      if (!stays_inside(record->path) || (two_paths && !stays_inside(record->target))) {
        reading.line = reader.number();
        return JournalProblem::outside;
      }
      bytes += record->path.size() + record->target.size();
      if (steps.size() == JOURNAL_STEP_LIMIT || bytes > JOURNAL_BYTE_LIMIT) {
        reading.line = reader.number();
        return JournalProblem::tooLarge;
      }
      steps.push_back({record->kind == JournalRecordKind::folder, std::move(record->path),
                       std::move(record->target), record->size,
                       record->kind == JournalRecordKind::copy, record->crc, record->identity,
                       record->identityKnown});
    }
  }
  return JournalProblem::none;
}

JournalReading read_journal(FileStream& journal) {
  JournalReading reading;
  LineReader reader(journal);
  if (!reader.seek(0, 0)) {
    reading.problem = JournalProblem::unreadable;
    return reading;
  }
  const JournalOutline outline = outline_journal(reader, reading.tornTail);
  reading.problem = outline.problem;
  reading.line = outline.firstDamagedLine;
  if (outline.problem != JournalProblem::none) return reading;
  const int chosen = last_open_run(outline);
  if (chosen < 0) return reading;
  const RunMark& mark = outline.runs[chosen];
  if (outline.firstDamagedLine != 0 && outline.firstDamagedLine >= mark.line) {
    reading.problem = JournalProblem::damaged;
    return reading;
  }
  reading.line = 0;
  reading.found = true;
  reading.run.number = static_cast<std::uint64_t>(chosen) + 1;
  reading.problem = load_run(reader, mark, reading);
  if (reading.problem != JournalProblem::none) {
    reading.found = false;
    reading.run.steps.clear();
  }
  return reading;
}

}  // namespace

JournalReading read_last_open_run(FileStream& journal) {
  JournalReading reading = read_journal(journal);
  // A read that failed looks like an end: nothing read after it counts.
  if (!journal.failure().ok()) {
    reading = JournalReading{};
    reading.problem = JournalProblem::unreadable;
  }
  return reading;
}
