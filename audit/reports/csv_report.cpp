#include "reports/csv_report.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "catalogue/rom_database.h"
#include "files/tool_files.h"
#include "reports/csv_format.h"
#include "system/file_system.h"
#include "system/hex_digits.h"

namespace {

constexpr char STATUS_NEW[] = "new";
constexpr char STATUS_HAVE[] = "have";
constexpr char STATUS_GONE[] = "gone";
constexpr char STATUS_MISS[] = "miss";
constexpr char STATUS_DUPLICATE[] = "duplicate";
constexpr char STATUS_UNKNOWN[] = "unknown";
constexpr char STATUS_MISMATCH[] = "mismatch";
constexpr const char* STATUSES[] = {STATUS_NEW,       STATUS_HAVE,    STATUS_GONE,    STATUS_MISS,
                                    STATUS_DUPLICATE, STATUS_UNKNOWN, STATUS_MISMATCH};
const CsvRecord HEADER = {"status", "title", "crc32", "size", "file", "note", "scheme", "tv"};
// Reports written before the scheme and TV system were added end at `note`.
const CsvRecord EARLIER_HEADER(HEADER.begin(), HEADER.begin() + 6);
constexpr char UNKNOWN_NOTE[] = "not in the catalogue";
constexpr char GONE_NOTE[] = "last found as ";

bool is_status(const std::string& text) {
  return std::find(std::begin(STATUSES), std::end(STATUSES), text) != std::end(STATUSES);
}

// Whether the row says that run found the entry.
bool found_entry(const CsvRecord& record) {
  return record[0] == STATUS_NEW || record[0] == STATUS_HAVE;
}

CsvRow image_row(const char* status, const FoundImage& image) {
  const std::string title = image.entry >= 0 ? db_name(image.entry) : "";
  return {status,     title,      crc_text(image.crc), std::to_string(image.size),
          image.file, image.note, image.scheme,        tv_system_name(image.tv)};
}

// The row of an entry this run did not find.
CsvRow absent_row(int index, const EarlierReport& earlier) {
  const std::string crc = crc_text(rom_database().crcs[index]);
  const std::uint32_t size = db_entry_size(index);
  CsvRow row{STATUS_MISS,
             db_name(index),
             crc,
             size != 0 ? std::to_string(size) : "",
             "",
             "",
             db_entry_scheme(index),
             tv_system_name(db_entry_tv(index))};
  if (const auto before = earlier.found.find(crc); before != earlier.found.end()) {
    row.status = STATUS_GONE;
    if (!before->second.empty()) row.note = GONE_NOTE + before->second;
  }
  return row;
}

// The rows of an entry this run found: the first copy the walk met, then
// each further one.
void add_found_rows(const std::vector<const FoundImage*>& copies, const EarlierReport& earlier,
                    std::vector<CsvRow>& rows) {
  const bool before = earlier.found.count(crc_text(copies.front()->crc)) > 0;
  rows.push_back(image_row(before ? STATUS_HAVE : STATUS_NEW, *copies.front()));
  for (std::size_t copy = 1; copy < copies.size(); ++copy) {
    rows.push_back(image_row(STATUS_DUPLICATE, *copies[copy]));
  }
}

EarlierReport unreadable(const FsResult& failure) {
  EarlierReport report;
  report.outcome = EarlierReport::Outcome::unreadable;
  report.failure = failure;
  return report;
}

EarlierReport malformed() {
  EarlierReport report;
  report.outcome = EarlierReport::Outcome::malformed;
  return report;
}

}  // namespace

EarlierReport earlier_report_from_text(std::string_view text) {
  EarlierReport report;
  bool header = true;
  std::size_t fields = 0;
  const bool whole = parse_csv(
      text, HEADER.size(),
      [&](const CsvRecord& record) {
        if (std::exchange(header, false)) {
          fields = record.size();
          return record == HEADER || record == EARLIER_HEADER;
        }
        if (record.size() != fields || !is_status(record[0])) return false;
        if (!found_entry(record)) return true;
        if (!parse_crc_text(record[2])) return false;
        report.found.emplace(record[2], record[4]);
        return true;
      },
      CsvFormulas::defused);
  if (!whole || header) return malformed();
  report.outcome = EarlierReport::Outcome::read;
  return report;
}

EarlierReport read_earlier_report(const std::string& startFolder) {
  EarlierReport report;
  FileHandle file;
  const FsResult opened = file_system().open(join_path(startFolder, CSV_REPORT_NAME), "rb", file);
  if (!opened.ok()) {
    if (!opened.missing()) report = unreadable(opened);
    return report;
  }
  std::string text;
  char block[64 * 1024];
  while (text.size() <= CSV_REPORT_LIMIT) {
    const std::size_t count = file->read(block, sizeof block);
    text.append(block, count);
    if (count < sizeof block) break;
  }
  (void)file->close();  // read only: a failed read shows in failure() below
  if (const FsResult failure = file->failure(); !failure.ok()) return unreadable(failure);
  if (text.size() > CSV_REPORT_LIMIT) return malformed();
  return earlier_report_from_text(text);
}

std::vector<CsvRow> build_csv_rows(const FoundImages& found, const EarlierReport& earlier,
                                   const std::vector<bool>& shown) {
  std::vector<CsvRow> rows;
  std::vector<std::vector<const FoundImage*>> copies(db_count());
  for (const FoundImage& image : found.images) {
    if (image.kind == FoundKind::catalogued) {
      copies[image.entry].push_back(&image);
    } else {
      rows.push_back(
          image_row(image.kind == FoundKind::unknown ? STATUS_UNKNOWN : STATUS_MISMATCH, image));
      if (image.kind == FoundKind::unknown) rows.back().note = UNKNOWN_NOTE;
    }
  }
  for (int index = 0; index < db_count(); ++index) {
    if (!shown.empty() && !shown[static_cast<std::size_t>(index)]) continue;
    if (copies[index].empty()) {
      rows.push_back(absent_row(index, earlier));
    } else {
      add_found_rows(copies[index], earlier, rows);
    }
  }
  std::stable_sort(rows.begin(), rows.end(), [](const CsvRow& left, const CsvRow& right) {
    return std::tie(left.title, left.status, left.file) <
           std::tie(right.title, right.status, right.file);
  });
  return rows;
}

CsvChanges count_changes(const std::vector<CsvRow>& rows) {
  CsvChanges changes;
  for (const CsvRow& row : rows) {
    if (row.status == STATUS_NEW) ++changes.added;
    if (row.status == STATUS_GONE) ++changes.gone;
  }
  return changes;
}

FsResult write_csv_report(const std::string& startFolder, const std::vector<CsvRow>& rows) {
  Replacement replacement;
  const FsResult opened = create_replacement(join_path(startFolder, CSV_REPORT_NAME), replacement);
  if (!opened.ok()) return opened;
  FileStream* file = replacement.file.get();
  // A failed write stays in the stream; the commit reports it and keeps the
  // earlier report.
  (void)write_text(*file, csv_record(HEADER));
  for (const CsvRow& row : rows) {
    (void)write_text(*file, csv_record({row.status, row.title, row.crc, row.size, row.file,
                                        row.note, row.scheme, row.tv},
                                       CsvFormulas::defused));
  }
  return commit_tool_file_replacement(std::move(replacement));
}
