#include "catalogue/rom_database.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "catalogue/rom_table.h"
#include "system/hex_digits.h"

namespace {

RomDatabase database;

RomDatabase& db() {
  return database;
}

bool name_contains(const char* name, const char* piece) {
  return std::strstr(name, piece);
}

// Blanks and the control bytes names are trimmed of.
bool is_blank_byte(unsigned char byte) {
  return byte == ' ' || (byte >= '\t' && byte <= '\r') || (byte >= 0x1C && byte <= 0x1F);
}

std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && is_blank_byte(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  while (!text.empty() && is_blank_byte(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  return text;
}

// The slot a CRC's search starts at, for a table of `size` slots (a power of
// two). CRCs are spread well already; the multiplication mixes the high bits in.
std::size_t first_slot(std::uint32_t crc, std::size_t size) {
  return static_cast<std::size_t>((crc * 0x9E3779B1u) >> 7) & (size - 1);
}

// Open addressing at most half full: the first entry of each CRC is kept,
// so a look-up finds what a search from the start would; later entries of
// the same CRC are chained after it in catalogue order.
void build_crc_index() {
  std::size_t size = 16;
  while (size < 2 * db().crcs.size()) size *= 2;
  db().crcSlots.assign(size, -1);
  db().sameCrcNext.clear();
  std::vector<std::int32_t> chainEnd;  // the last entry of each chain, by its first
  for (std::size_t index = 0; index < db().crcs.size(); ++index) {
    const std::uint32_t crc = db().crcs[index];
    std::size_t slot = first_slot(crc, size);
    while (db().crcSlots[slot] >= 0 && db().crcs[db().crcSlots[slot]] != crc)
      slot = (slot + 1) & (size - 1);
    const auto entry = static_cast<std::int32_t>(index);
    const std::int32_t first = db().crcSlots[slot];
    if (first < 0) {
      db().crcSlots[slot] = entry;
      continue;
    }
    if (chainEnd.empty()) {
      db().sameCrcNext.assign(db().crcs.size(), -1);
      chainEnd.assign(db().crcs.size(), -1);
    }
    const std::int32_t last = chainEnd[first] < 0 ? first : chainEnd[first];
    db().sameCrcNext[last] = entry;
    chainEnd[first] = entry;
  }
}

// The index describes the CRCs in hand; a caller that changed them since
// db_build_counters is served by a plain search.
bool index_ready() {
  return !db().crcSlots.empty() && db().crcSlots.size() >= 2 * db().crcs.size() &&
         db().crcs.size() == db().entries.size();
}

// True when `index` is a position of the compiled-in table and that table
// is the catalogue of the run.
// Whether `index` is an entry of the compiled-in table, the run's catalogue
// (attached on first use, as db_count does).
bool shipped_entry(int index) {
  if (db().entries.empty()) db().entries = shipped_catalogue();
  return db().entries.data() == ROM_TABLE && index >= 0 && index < ROM_TABLE_COUNT;
}

int find_crc_text_from(const char* text, int start) {
  for (int index = start < 0 ? 0 : start; index < db_count(); ++index) {
    if (std::strncmp(db().entries[index], text, 8) == 0) return index;
  }
  return -1;
}

}  // namespace

RomDatabase& rom_database() {
  return database;
}

void reset_rom_database() {
  database = RomDatabase{};
}

std::span<const char* const> shipped_catalogue() {
  return std::span<const char* const>(ROM_TABLE, static_cast<std::size_t>(ROM_TABLE_COUNT));
}

int db_count() {
  if (db().entries.empty()) db().entries = shipped_catalogue();
  return static_cast<int>(db().entries.size());
}

void db_use_loaded_catalogue(std::vector<CatalogueEntry> entries, std::vector<UnheldRom> unheld) {
  LoadedCatalogue& loaded = db().loaded;
  loaded = LoadedCatalogue{};
  loaded.texts.reserve(entries.size());
  for (CatalogueEntry& entry : entries) {
    char crc[10];
    std::snprintf(crc, sizeof crc, "%08x ", static_cast<unsigned>(entry.crc));
    loaded.texts.push_back(crc + entry.name);
    entry.name = std::string();
  }
  for (const std::string& text : loaded.texts) loaded.pointers.push_back(text.c_str());
  loaded.details = std::move(entries);
  loaded.unheld = std::move(unheld);
  db().entries = loaded.pointers;
}

std::vector<UnheldRom> db_unheld_roms() {
  if (!db().loaded.details.empty()) return db().loaded.unheld;
  std::vector<UnheldRom> unheld;
  for (int at = 0; at < ROM_TABLE_UNHELD_COUNT; ++at)
    unheld.push_back({ROM_TABLE_UNHELD[at].game, ROM_TABLE_UNHELD[at].rom});
  return unheld;
}

const CatalogueEntry* db_entry_details(int index) {
  const auto& details = db().loaded.details;
  if (index < 0 || static_cast<std::size_t>(index) >= details.size()) return nullptr;
  return &details[index];
}

CatalogueEntry db_entry_record(int index) {
  if (const CatalogueEntry* details = db_entry_details(index)) return *details;
  CatalogueEntry record;
  if (!shipped_entry(index)) return record;
  record.size = ROM_TABLE_SIZES[index];
  record.hasSha1 = parse_hex_bytes(ROM_TABLE_SHA1[index], record.sha1);
  record.badDump = std::find(ROM_TABLE_BAD_DUMPS, ROM_TABLE_BAD_DUMPS + ROM_TABLE_BAD_DUMP_COUNT,
                             index) != ROM_TABLE_BAD_DUMPS + ROM_TABLE_BAD_DUMP_COUNT;
  const RomTableFacts& facts = ROM_TABLE_FACTS[index];
  record.image = facts.image;
  record.scheme = facts.scheme;
  record.tv = facts.tv;
  record.parent = facts.parent;
  record.software = facts.software;
  record.softwareList = true;
  record.year = facts.year;
  record.publisher = facts.publisher;
  return record;
}

const char* db_entry_scheme(int index) {
  if (const CatalogueEntry* details = db_entry_details(index)) return details->scheme;
  return shipped_entry(index) ? ROM_TABLE_FACTS[index].scheme : "";
}

TvSystem db_entry_tv(int index) {
  if (const CatalogueEntry* details = db_entry_details(index)) return details->tv;
  return shipped_entry(index) ? ROM_TABLE_FACTS[index].tv : TvSystem::ntsc;
}

std::uint32_t db_entry_size(int index) {
  if (const CatalogueEntry* details = db_entry_details(index)) return details->size;
  return shipped_entry(index) ? ROM_TABLE_SIZES[index] : 0;
}

void db_build_counters() {
  const int count = db_count();
  db().crcs.assign(count, 0);
  db().have.assign(count, 0);
  db().hadBefore.assign(count, 0);
  for (int index = 0; index < count; ++index) {
    char digits[9] = {};
    std::memcpy(digits, db().entries[index], 8);
    db().crcs[index] = static_cast<std::uint32_t>(std::strtoul(digits, nullptr, 16));
  }
  build_crc_index();
}

bool db_had(int index) {
  return db().have[index] != 0 || db().hadBefore[index] != 0;
}

int db_find_crc_text(const char* text, int start) {
  if (std::strlen(text) < 8) return -1;
  // The index answers for texts as the tool writes them; anything else, and
  // a catalogue without an index, is searched entry by entry.
  const std::optional<std::uint32_t> crc =
      index_ready() ? parse_crc_text(std::string_view(text, 8)) : std::nullopt;
  if (!crc) return find_crc_text_from(text, start);
  const int index = db_find_crc(*crc);
  if (index >= 0 && std::strncmp(db().entries[index], text, 8) != 0)
    return find_crc_text_from(text, start);
  if (index >= 0 && index < start) return find_crc_text_from(text, start);
  return index;
}

int db_find_crc(std::uint32_t crc) {
  const auto& slots = db().crcSlots;
  if (!index_ready()) {
    for (std::size_t index = 0; index < db().crcs.size(); ++index) {
      if (db().crcs[index] == crc) return static_cast<int>(index);
    }
    return -1;
  }
  for (std::size_t slot = first_slot(crc, slots.size());; slot = (slot + 1) & (slots.size() - 1)) {
    if (slots[slot] < 0) return -1;
    if (db().crcs[slots[slot]] == crc) return slots[slot];
  }
}

int db_next_same_crc(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= db().crcs.size()) return -1;
  if (index_ready()) return db().sameCrcNext.empty() ? -1 : db().sameCrcNext[index];
  for (std::size_t next = index + 1; next < db().crcs.size(); ++next) {
    if (db().crcs[next] == db().crcs[index]) return static_cast<int>(next);
  }
  return -1;
}

const char* tv_system_name(TvSystem tv) {
  static constexpr const char* NAMES[] = {"NTSC", "PAL", "SECAM"};
  return NAMES[static_cast<int>(tv)];
}

std::optional<TvSystem> tv_system_named(std::string_view word) {
  for (const TvSystem tv : {TvSystem::ntsc, TvSystem::pal, TvSystem::secam}) {
    if (word == tv_system_name(tv)) return tv;
  }
  return std::nullopt;
}

TvSystem tv_system_of_name(std::string_view name) {
  std::size_t open = 0;
  while ((open = name.find('(', open)) != std::string_view::npos) {
    const std::size_t close = name.find(')', open);
    if (close == std::string_view::npos) break;
    std::string_view group = name.substr(open + 1, close - open - 1);
    while (!group.empty()) {
      const std::size_t comma = std::min(group.find(','), group.size());
      const std::optional<TvSystem> tv = tv_system_named(trim_blanks(group.substr(0, comma)));
      if (tv && *tv != TvSystem::ntsc) return *tv;
      group.remove_prefix(std::min(comma + 1, group.size()));
    }
    open = close;
  }
  return TvSystem::ntsc;
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
