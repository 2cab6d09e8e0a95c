#include "catalogue/have_files.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue/catalogue_entry.h"
#include "catalogue/rom_database.h"
#include "files/line_reader.h"
#include "system/tool_file_names.h"

namespace {

constexpr char DATABASE_MAGIC[] = "VALD";
constexpr std::uint32_t SYSTEM_TYPE = 1;  // the Atari 2600
constexpr std::size_t HAVE_LINE_LIMIT = 199;
// The largest files the largest catalogue gives: a CRC of 4 bytes an entry
// after 8 of header; a name and its line end an entry after the headline.
constexpr std::int64_t DATABASE_SIZE_LIMIT = 8 + 4 * static_cast<std::int64_t>(DAT_ENTRY_LIMIT);
constexpr std::int64_t HAVE_LIST_SIZE_LIMIT =
    1024 + (HAVE_LINE_LIMIT + 2) * static_cast<std::int64_t>(DAT_ENTRY_LIMIT);

bool read_big_endian(FileStream& file, std::uint32_t& value) {
  unsigned char bytes[4];
  if (file.read(bytes, 4) != 4) return false;
  value = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
          (std::uint32_t{bytes[2]} << 8) | bytes[3];
  return true;
}

bool write_big_endian(FileStream& file, std::uint32_t value) {
  const unsigned char bytes[4] = {
      static_cast<unsigned char>(value >> 24), static_cast<unsigned char>(value >> 16),
      static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
  return file.write(bytes, sizeof bytes).ok();
}

// A have file that does not open is missing, unless the system says
// otherwise.
HaveFileRead opening_failure(const FsResult& failure) {
  if (failure.missing()) return {};
  return {HaveFileRead::Outcome::unreadable, failure};
}

// Why `file` is not read: larger than `limit`, or it cannot be read from its
// start again; none when it can be read.
std::optional<HaveFileRead> refusal_to_read(FileStream& file, std::int64_t limit) {
  const bool larger = file.seek(0, SEEK_END).ok() && file.tell() > limit;
  if (const FsResult back = file.seek(0, SEEK_SET); !back.ok())
    return HaveFileRead{HaveFileRead::Outcome::unreadable, back};
  if (larger) return HaveFileRead{HaveFileRead::Outcome::tooLarge, {}};
  return std::nullopt;
}

// The CRCs of `crcs` in their order, each once, in memory proportional to
// their number.
std::vector<std::uint32_t> first_of_each(const std::vector<std::uint32_t>& crcs) {
  std::vector<std::uint32_t> sorted = crcs;
  std::sort(sorted.begin(), sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  std::vector<bool> kept(sorted.size(), false);
  std::vector<std::uint32_t> result;
  for (const std::uint32_t crc : crcs) {
    const auto at = std::lower_bound(sorted.begin(), sorted.end(), crc) - sorted.begin();
    if (!kept[at]) result.push_back(crc);
    kept[at] = true;
  }
  return result;
}

HaveFileRead reading_outcome(const FileStream& file, HaveFileRead::Outcome outcome) {
  FsResult failure = file.failure();
  if (!failure.ok()) return {HaveFileRead::Outcome::unreadable, failure};
  return {outcome, {}};
}

}  // namespace

HaveFileRead db_seed_from_database(const ToolDirectories& directories) {
  FileHandle file;
  const FsResult opened = open_tool_file(directories, HAVE_DATABASE_NAME, "rb", file);
  if (!opened.ok()) return opening_failure(opened);
  if (const auto refused = refusal_to_read(*file, DATABASE_SIZE_LIMIT)) return *refused;
  char magic[4];
  std::uint32_t system = 0;
  if (file->read(magic, 4) != 4 || std::memcmp(magic, DATABASE_MAGIC, 4) != 0 ||
      !read_big_endian(*file, system) || (system & 0xFF) != SYSTEM_TYPE) {
    return reading_outcome(*file, HaveFileRead::Outcome::notOurs);
  }
  // A trailing piece shorter than a CRC is not a CRC.
  std::uint32_t crc = 0;
  std::vector<std::uint32_t> foreign;
  while (read_big_endian(*file, crc)) {
    const int index = db_find_crc(crc);
    if (index >= 0) {
      rom_database().hadBefore[index] = 1;
    } else {
      foreign.push_back(crc);
    }
  }
  rom_database().foreignHave = first_of_each(foreign);
  return reading_outcome(*file, HaveFileRead::Outcome::seeded);
}

namespace {

// Reads one line into `line` without its line end (LF or CR LF). A line
// longer than the limit is consumed whole and reported as too long.
bool read_have_line(LineReader& reader, std::string& line, bool& too_long) {
  const LineReader::Result result = reader.next(line, HAVE_LINE_LIMIT + 1, too_long);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > HAVE_LINE_LIMIT) too_long = true;
  return result != LineReader::Result::end;
}

// Lines written by the report start with a blank; other non-names start with
// a control byte or a byte beyond ASCII.
bool is_have_name_line(const std::string& line) {
  if (line.size() < 2) return false;
  const auto first = static_cast<unsigned char>(line[0]);
  return first > ' ' && first < 0x7F;
}

}  // namespace

HaveFileRead db_seed_from_have_list(const ToolDirectories& directories) {
  FileHandle file;
  const FsResult opened = open_tool_file(directories, HAVE_REPORT_NAME, "r", file);
  if (!opened.ok()) return opening_failure(opened);
  if (const auto refused = refusal_to_read(*file, HAVE_LIST_SIZE_LIMIT)) return *refused;
  LineReader reader(*file);
  // Names come in catalogue order, so the search only moves forward: each
  // line takes the first entry of its name at or after the cursor. The
  // positions of each name make that one look-up, whatever the catalogue's size.
  std::unordered_map<std::string_view, std::vector<int>> positions;
  for (int index = 0; index < db_count(); ++index) positions[db_name(index)].push_back(index);
  int cursor = 0;
  std::string line;
  bool too_long = false;
  while (read_have_line(reader, line, too_long)) {
    if (too_long || !is_have_name_line(line)) continue;
    const auto found = positions.find(line);
    if (found == positions.end()) continue;
    const auto next = std::lower_bound(found->second.begin(), found->second.end(), cursor);
    if (next == found->second.end()) continue;
    rom_database().hadBefore[*next] = 1;
    cursor = *next;
  }
  return reading_outcome(*file, HaveFileRead::Outcome::seeded);
}

FsResult write_have_database(const ToolDirectories& directories) {
  Replacement replacement;
  const FsResult opened = open_tool_file_replacement(directories, HAVE_DATABASE_NAME, replacement);
  if (!opened.ok()) return opened;
  FileStream* database = replacement.file.get();
  const RomDatabase& catalogue = rom_database();
  // A failed write stays in the stream; the commit reports it.
  (void)database->write(DATABASE_MAGIC, 4);
  write_big_endian(*database, SYSTEM_TYPE);
  for (int index = 0; index < db_count(); ++index) {
    if (db_had(index)) write_big_endian(*database, catalogue.crcs[index]);
  }
  // What an earlier run recorded against another catalogue stays recorded.
  for (const std::uint32_t crc : catalogue.foreignHave) write_big_endian(*database, crc);
  return commit_tool_file_replacement(std::move(replacement));
}

void write_have_names(FileStream& list, const std::vector<bool>* shown) {
  for (int index = 0; index < db_count(); ++index) {
    if (shown != nullptr && !(*shown)[static_cast<std::size_t>(index)]) continue;
    // A failed write stays in the stream, which reports it when it is closed.
    if (db_had(index)) (void)print_to(list, "%s\n", db_name(index));
  }
}
