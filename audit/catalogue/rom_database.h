#pragma once
// The catalogue layer: the known images, their CRC numbers and have counters,
// the look-ups, and the seeding of the counters from an earlier run's have
// files. Data only; it may use the system layer to open those files.

#include <cstdint>
#include <span>
#include <vector>

#include "system/tool_files.h"

// The one system the catalogue knows, as reports and messages name it.
inline constexpr char SYSTEM_NAME[] = "Atari 2600";

// The have files an earlier run left: the have database and the have list.
inline constexpr char HAVE_DATABASE_NAME[] = "Vald2600.db";
inline constexpr char HAVE_REPORT_NAME[] = "2600Have.txt";

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

// The run's catalogue record; reset_rom_database() starts it afresh.
RomDatabase& rom_database();
void reset_rom_database();

// The shipped catalogue.
std::span<const char* const> shipped_catalogue();

// Builds the CRC numbers and zeroes the counters.
void db_build_counters();

// Seeds the counters from the have database in `directories`. Returns false,
// seeding nothing, when it is missing or belongs to another system.
bool db_seed_from_database(const ToolDirectories& directories);

// Seeds the counters from the names of the have list in `directories`, if any.
void db_seed_from_have_list(const ToolDirectories& directories);

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
