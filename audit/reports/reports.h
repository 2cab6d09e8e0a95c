#pragma once
// The reports room: have, miss and dupes reports, the miss DAT, the MESS crc
// export and the audit of ValdInfo.cfg. It may use naming (for the groups),
// run, the catalogue and system.
//
// The reports: the statistics line, and after a rename, move or list run the
// miss list, the have list with the have database Vald2600.db, and the dupes
// list. Also the start-up reading of what an earlier run had from those files.

#include "catalogue/rom_database.h"
#include "system/tool_file_names.h"

// Builds the CRC numbers, zeroes the counters and marks what an earlier run
// had, from Vald2600.db, else from 2600Have.txt. Always succeeds.
void db_prepare();

// Prints the statistics line, except in the MESS export mode.
void db_print_stats();

// True when entry `index` is not had and its info group (if any) is wanted:
// the entries 2600Miss.txt lists.
bool db_entry_missing(int index);

// Rewrites 2600Miss.txt with the catalogue names not had, leaving out (and
// counting) those whose info group is not wanted, and prints its headline.
// Does nothing when the file cannot be opened.
void write_miss_report();

// When anything is had (found now or by an earlier run): rewrites
// 2600Have.txt and prints its headline, replaces Vald2600.db whole (a failed
// write leaves the previous one), and prints the titles this run found more
// than once, appending them to 2600Dupes.txt.
void write_have_report();
