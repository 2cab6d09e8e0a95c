#pragma once
// The C++ source of the compiled-in catalogue table, as tools/make_rom_table
// writes it into audit/catalogue/rom_table.cpp.

#include <string>
#include <vector>

#include "catalogue/catalogue_entry.h"

// The whole file: a header comment, one "crc name" text per entry in the
// given order, then the entries' image sizes, then their SHA-1s in the same
// order, then the positions of the bad dumps, then each entry's other facts
// (software and image names, year, publisher, scheme, TV system, parent).
std::string rom_table_source(const std::vector<CatalogueEntry>& entries,
                             const std::vector<UnheldRom>& unheld);
