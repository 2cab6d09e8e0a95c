#pragma once
// The catalogue layer: the known images, their CRC numbers, the copies of
// each found by this run and what earlier runs had, the look-ups, and the
// reading of an earlier run's have files. Data only; it may use the system
// layer to open those files.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "catalogue/catalogue_entry.h"
#include "system/tool_file_names.h"

// The one system the catalogue knows, as reports and messages name it.
inline constexpr char SYSTEM_NAME[] = "Atari 2600";

// The have files an earlier run left: the have database and the have list.

// Where an entry's name begins within its catalogue text.
inline constexpr int DB_NAME_OFFSET = 9;

// A catalogue loaded from DAT files for this run: the texts the entries
// point to, and each entry's size, hashes and bad-dump flag (names cleared).
struct LoadedCatalogue {
  std::vector<std::string> texts;
  std::vector<const char*> pointers;
  std::vector<CatalogueEntry> details;
  std::vector<UnheldRom> unheld;
};

struct RomDatabase {
  std::span<const char* const> entries;    // the catalogue texts, in catalogue order
  std::vector<std::uint32_t> crcs;         // each entry's CRC-32, parsed
  std::vector<std::int32_t> have;          // copies of each entry this run found
  std::vector<std::uint8_t> hadBefore;     // 1: an earlier run's have files list the entry
  std::vector<std::int32_t> crcSlots;      // open-addressing index of `crcs`, -1: empty
  std::vector<std::int32_t> sameCrcNext;   // the next entry of each one's CRC, -1: none
  std::vector<std::uint32_t> foreignHave;  // had CRCs of the have database this catalogue lacks
  LoadedCatalogue loaded;                  // empty for the compiled-in table
};

// Counts of name tags over the catalogue, as the statistics line shows them.
struct DbStats {
  int entries = 0;
  int unclassed = 0;
  int redumps = 0;
  int hacks = 0;
  int badDumps = 0;
};

// The run's catalogue record; reset_rom_database() starts it afresh.
RomDatabase& rom_database();
void reset_rom_database();

// The shipped catalogue.
std::span<const char* const> shipped_catalogue();

// Makes `entries` (sorted and numbered) the catalogue of this run in place of
// the compiled-in table. Call before db_build_counters.
void db_use_loaded_catalogue(std::vector<CatalogueEntry> entries,
                             std::vector<UnheldRom> unheld = {});

// The images the catalogue's file names that it could not hold.
std::vector<UnheldRom> db_unheld_roms();

// The record of entry `index` of a catalogue loaded from DAT files (its name
// cleared), or nullptr when the catalogue is the compiled-in table.
const CatalogueEntry* db_entry_details(int index);

// What the catalogue knows of entry `index`: its size, hashes, bad-dump
// flag, bankswitch scheme, TV system, parent entry, and its game's and
// image's names, year and publisher as its file gives them (the compiled-in
// table gives no MD5); the name is empty (db_name gives it). An empty record
// for a position outside the catalogue.
CatalogueEntry db_entry_record(int index);

// The bankswitch scheme's name the catalogue gives entry `index` ("F8SC"),
// or "" when it gives none, as for an entry of a DAT file, or for -1.
const char* db_entry_scheme(int index);

// The TV system the catalogue gives entry `index`; NTSC for -1.
TvSystem db_entry_tv(int index);

// The image size of entry `index` in bytes; 0 when the catalogue knows none.
std::uint32_t db_entry_size(int index);

// Builds the CRC numbers and their index, and zeroes the counters and the
// record of what earlier runs had.
void db_build_counters();

// True when entry `index` is had: this run found a copy, or an earlier run's
// have files list it. Only copies found by this run count as duplicates.
bool db_had(int index);

// Number of catalogue entries.
int db_count();

// Position of the first entry from `start` on whose first eight characters
// equal those of `text` (case-sensitive), or -1.
int db_find_crc_text(const char* text, int start);

// Position of the entry with this CRC-32, or -1: the first of several.
int db_find_crc(std::uint32_t crc);

// Position of the next entry after `index` with the same CRC-32, or -1. Only
// a catalogue loaded for verify holds several (told apart by size or hash).
int db_next_same_crc(int index);

// The catalogue name of entry `index`.
const char* db_name(int index);

DbStats db_stats();
