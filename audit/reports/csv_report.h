#pragma once
// The CSV report 2600Report.csv: one row for each catalogue entry, saying
// whether this run and the one before it in the same start folder found it,
// and one for each further copy, unknown image and refused image, each with
// its bankswitch scheme and TV system. The
// previous report of the start folder is what "the run before" found.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "run/found_images.h"
#include "system/file_system.h"
#include "system/tool_file_names.h"

// Larger earlier reports are not read: they are no report this tool wrote
// for a catalogue it could hold.
inline constexpr std::uint64_t CSV_REPORT_LIMIT = 32 * 1024 * 1024;

// What the earlier report of the start folder said. none: there is none
// (a first run); unreadable: it did not read (`failure` says why); malformed:
// it is no report this tool wrote, or too large. Only `read` fills `found`.
struct EarlierReport {
  enum class Outcome { none, read, unreadable, malformed } outcome = Outcome::none;
  FsResult failure;
  // The CRC text of every entry that run found, with the file it found.
  std::unordered_map<std::string, std::string> found;
};

// Reads the 2600Report.csv of `startFolder`, at most CSV_REPORT_LIMIT bytes.
EarlierReport read_earlier_report(const std::string& startFolder);

// The report's text read back: malformed unless it has the header, or the
// one of reports that ended at `note`, and only rows of as many fields with
// a known status, and eight lowercase hex digits for each entry found.
EarlierReport earlier_report_from_text(std::string_view text);

struct CsvRow {
  std::string status;
  std::string title;
  std::string crc;
  std::string size;
  std::string file;
  std::string note;
  std::string scheme;  // the bankswitch scheme's name, "" when none is known
  std::string tv;      // "NTSC", "PAL", "SECAM"
};

// The report's rows for what this run found against what the earlier one
// did, sorted by title, then status, then file.
std::vector<CsvRow> build_csv_rows(const FoundImages& found, const EarlierReport& earlier,
                                   const std::vector<bool>& shown = {});

// How many entries are new, and how many gone, since the earlier run.
struct CsvChanges {
  int added = 0;
  int gone = 0;
};

CsvChanges count_changes(const std::vector<CsvRow>& rows);

// Writes the report into `startFolder` under a temporary name and renames it
// over the previous one, which stays whole when anything fails; the failure
// is that of the step that failed.
FsResult write_csv_report(const std::string& startFolder, const std::vector<CsvRow>& rows);
