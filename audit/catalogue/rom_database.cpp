#include "catalogue/rom_database.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "catalogue/rom_table.h"

namespace {

constexpr char DB_MAGIC[] = "VALD";
constexpr std::uint32_t SYSTEM_TYPE = 1;  // the Atari 2600
constexpr std::size_t HAVE_LINE_LIMIT = 199;

RomDatabase database;

RomDatabase& db() {
  return database;
}

bool read_big_endian(std::FILE* file, std::uint32_t& value) {
  unsigned char bytes[4];
  if (std::fread(bytes, 1, 4, file) != 4) return false;
  value = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
          (std::uint32_t{bytes[2]} << 8) | bytes[3];
  return true;
}

bool name_contains(const char* name, const char* piece) {
  return std::strstr(name, piece);
}

}  // namespace

RomDatabase& rom_database() {
  return database;
}

void reset_rom_database() {
  database = RomDatabase{};
}

bool db_seed_from_database(const ToolDirectories& directories) {
  std::FILE* file = open_tool_file(directories, HAVE_DATABASE_NAME, "rb");
  if (file == nullptr) return false;
  char magic[4];
  std::uint32_t system = 0;
  if (std::fread(magic, 1, 4, file) != 4 || std::memcmp(magic, DB_MAGIC, 4) != 0 ||
      !read_big_endian(file, system) || (system & 0xFF) != SYSTEM_TYPE) {
    std::fclose(file);
    return false;
  }
  // A trailing piece shorter than a CRC is not a CRC.
  std::uint32_t crc = 0;
  while (read_big_endian(file, crc)) {
    const int index = db_find_crc(crc);
    if (index >= 0) db().have[index] = 1;
  }
  std::fclose(file);
  return true;
}

namespace {

// Reads one line into `line` without its line end (LF or CR LF). A line
// longer than the limit is consumed whole and reported as too long.
bool read_have_line(std::FILE* file, std::string& line, bool& too_long) {
  line.clear();
  too_long = false;
  int character = 0;
  bool any = false;
  while ((character = std::fgetc(file)) != EOF) {
    any = true;
    if (character == '\n') break;
    if (line.size() < HAVE_LINE_LIMIT + 1) {
      line.push_back(static_cast<char>(character));
    } else {
      too_long = true;
    }
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > HAVE_LINE_LIMIT) too_long = true;
  return any;
}

// Lines written by the report start with a blank; other non-names start with
// a control byte or a byte beyond ASCII.
bool is_have_name_line(const std::string& line) {
  if (line.size() < 2) return false;
  const auto first = static_cast<unsigned char>(line[0]);
  return first > ' ' && first < 0x7F;
}

}  // namespace

void db_seed_from_have_list(const ToolDirectories& directories) {
  std::FILE* file = open_tool_file(directories, HAVE_REPORT_NAME, "r");
  if (file == nullptr) return;
  // Names come in catalogue order, so the search only moves forward.
  int cursor = 0;
  std::string line;
  bool too_long = false;
  while (read_have_line(file, line, too_long)) {
    if (too_long || !is_have_name_line(line)) continue;
    for (int index = cursor; index < db_count(); ++index) {
      if (line == db_name(index)) {
        db().have[index] = 1;
        cursor = index;
        break;
      }
    }
  }
  std::fclose(file);
}

std::span<const char* const> shipped_catalogue() {
  return std::span<const char* const>(ROM_TABLE, static_cast<std::size_t>(ROM_TABLE_COUNT));
}

int db_count() {
  if (db().entries.empty()) db().entries = shipped_catalogue();
  return static_cast<int>(db().entries.size());
}

void db_build_counters() {
  const int count = db_count();
  db().crcs.assign(count, 0);
  db().have.assign(count, 0);
  for (int index = 0; index < count; ++index) {
    char digits[9] = {};
    std::memcpy(digits, db().entries[index], 8);
    db().crcs[index] = static_cast<std::uint32_t>(std::strtoul(digits, nullptr, 16));
  }
}

int db_find_crc_text(const char* text, int start) {
  if (std::strlen(text) < 8) return -1;
  for (int index = start < 0 ? 0 : start; index < db_count(); ++index) {
    if (std::strncmp(db().entries[index], text, 8) == 0) return index;
  }
  return -1;
}

int db_find_crc(std::uint32_t crc) {
  for (std::size_t index = 0; index < db().crcs.size(); ++index) {
    if (db().crcs[index] == crc) return static_cast<int>(index);
  }
  return -1;
}

const char* db_name(int index) {
  return db().entries[index] + DB_NAME_OFFSET;
}

DbStats db_stats() {
  DbStats stats;
  stats.entries = db_count();
  for (int index = 0; index < stats.entries; ++index) {
    const char* name = db_name(index);
    if (name_contains(name, "hack") || name_contains(name, "[h") || name_contains(name, "[t") ||
        name_contains(name, "trained")) {
      ++stats.hacks;
    }
    if (name_contains(name, "[!]") || name_contains(name, "(!)")) ++stats.redumps;
    if (name_contains(name, "(bad dump") || name_contains(name, "[b") ||
        name_contains(name, "[o") || name_contains(name, "(overdump") ||
        name_contains(name, "Bad Dump")) {
      ++stats.badDumps;
    }
    if (name_contains(name, "ZZZ_")) ++stats.unclassed;
  }
  return stats;
}
