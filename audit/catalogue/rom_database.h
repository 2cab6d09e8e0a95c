#pragma once
// The catalogue of known images, its CRC numbers and have counters, the
// look-ups, and the start-up seeding of the counters from an earlier run.

#include <cstdint>
#include <span>
#include <vector>

// The one system the catalogue knows, as reports and messages name it.
inline constexpr char SYSTEM_NAME[] = "Atari 2600";

// Where an entry's name begins within its catalogue text.
inline constexpr int DB_NAME_OFFSET = 9;

struct RomDatabase {
  std::span<const char* const> entries;  // the catalogue texts, in catalogue order
  std::vector<std::uint32_t> crcs;       // each entry's CRC-32, parsed
  std::vector<std::int32_t> have;        // copies of each entry found
};

// Counts of name tags over the catalogue, as the statistics line shows them.
struct DbStats {
  int entries = 0;
  int unclassed = 0;
  int redumps = 0;
  int hacks = 0;
  int badDumps = 0;
};

// The shipped catalogue.
std::span<const char* const> shipped_catalogue();

// Builds the CRC numbers, zeroes the counters and seeds them from
// Vald2600.db, else from 2600Have.txt. Always succeeds.
void db_prepare();

// Number of catalogue entries.
int db_count();

// Position of the first entry from `start` on whose first eight characters
// equal those of `text` (case-sensitive), or -1.
int db_find_crc_text(const char* text, int start);

// Position of the entry with this CRC-32, or -1.
int db_find_crc(std::uint32_t crc);

// The catalogue name of entry `index`.
const char* db_name(int index);

DbStats db_stats();

// Prints the statistics line, except in the MESS export mode.
void db_print_stats();
