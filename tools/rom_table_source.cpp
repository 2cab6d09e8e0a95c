#include "rom_table_source.h"

#include <cstdio>

namespace {

// `text` as a C string literal; a control byte is written as three octal
// digits, which no following digit can extend.
std::string c_string(const std::string& text) {
  std::string quoted = "\"";
  for (const char character : text) {
    const auto byte = static_cast<unsigned char>(character);
    if (byte < 0x20 || byte == 0x7F) {
      char octal[5];
      std::snprintf(octal, sizeof octal, "\\%03o", byte);
      quoted += octal;
      continue;
    }
    if (character == '\\' || character == '"') quoted.push_back('\\');
    quoted.push_back(character);
  }
  return quoted + "\"";
}

// The entry's SHA-1 as 40 lowercase hex digits, or "" when the list gives none.
std::string sha1_text(const CatalogueEntry& entry) {
  std::string hex;
  if (!entry.hasSha1) return c_string(hex);
  char pair[3];
  for (const unsigned char byte : entry.sha1) {
    std::snprintf(pair, sizeof pair, "%02x", byte);
    hex += pair;
  }
  return c_string(hex);
}

// "TvSystem::pal", as the table writes a TV system.
std::string tv_text(TvSystem tv) {
  static const char* const NAMES[] = {"TvSystem::ntsc", "TvSystem::pal", "TvSystem::secam"};
  return NAMES[static_cast<int>(tv)];
}

// {software, image, year, publisher, scheme, tv, parent} of one entry.
std::string facts_text(const CatalogueEntry& entry) {
  return "{" + c_string(entry.software) + ", " + c_string(entry.image) + ", " +
         c_string(entry.year) + ", " + c_string(entry.publisher) + ", " + c_string(entry.scheme) +
         ", " + tv_text(entry.tv) + ", " + std::to_string(entry.parent) + "}";
}

}  // namespace

std::string rom_table_source(const std::vector<CatalogueEntry>& entries,
                             const std::vector<UnheldRom>& unheld) {
  std::string source =
      "// Generated file: do not edit. Made by\n"
      "//   tools/make_rom_table <software list> audit/catalogue/rom_table.cpp\n"
      "// from a CC0 software list of Atari 2600 cartridges.\n"
      "\n"
      "#include \"catalogue/rom_table.h\"\n"
      "\n"
      "#include <iterator>\n"
      "\n"
      "const char* const ROM_TABLE[] = {\n";
  for (const CatalogueEntry& entry : entries) {
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08x ", static_cast<unsigned>(entry.crc));
    source += "    " + c_string(crc + entry.name) + ",\n";
  }
  source += "};\n\nconst std::uint32_t ROM_TABLE_SIZES[] = {";
  for (std::size_t index = 0; index < entries.size(); ++index)
    source += (index % 10 == 0 ? "\n   " : "") + (" " + std::to_string(entries[index].size) + ",");
  source +=
      "\n};\n"
      "static_assert(std::size(ROM_TABLE_SIZES) == std::size(ROM_TABLE));\n"
      "\n"
      "const char* const ROM_TABLE_SHA1[] = {\n";
  for (const CatalogueEntry& entry : entries) source += "    " + sha1_text(entry) + ",\n";
  source +=
      "};\n"
      "static_assert(std::size(ROM_TABLE_SHA1) == std::size(ROM_TABLE));\n"
      "\n"
      "const int ROM_TABLE_BAD_DUMPS[] = {";
  std::string badDumps;
  for (std::size_t index = 0; index < entries.size(); ++index) {
    if (entries[index].badDump) badDumps += (badDumps.empty() ? "" : ", ") + std::to_string(index);
  }
  source += badDumps.empty() ? "-1" : badDumps;
  source +=
      "};\n"
      "const int ROM_TABLE_BAD_DUMP_COUNT = " +
      std::string(badDumps.empty() ? "0" : "static_cast<int>(std::size(ROM_TABLE_BAD_DUMPS))") +
      ";\n"
      "\n"
      "const RomTableFacts ROM_TABLE_FACTS[] = {\n";
  for (const CatalogueEntry& entry : entries) source += "    " + facts_text(entry) + ",\n";
  source +=
      "};\n"
      "static_assert(std::size(ROM_TABLE_FACTS) == std::size(ROM_TABLE));\n"
      "static_assert(std::size(ROM_TABLE) <= INT16_MAX);  // parents are 16-bit positions\n"
      "\n"
      "const int ROM_TABLE_COUNT = static_cast<int>(std::size(ROM_TABLE));\n"
      "\n"
      "const RomTableUnheld ROM_TABLE_UNHELD[] = {\n";
  for (const UnheldRom& rom : unheld)
    source += "    {" + c_string(rom.game) + ", " + c_string(rom.rom) + "},\n";
  if (unheld.empty()) source += "    {\"\", \"\"},\n";
  source += "};\nconst int ROM_TABLE_UNHELD_COUNT = " +
            std::string(unheld.empty() ? "0" : "static_cast<int>(std::size(ROM_TABLE_UNHELD))") +
            ";\n";
  return source;
}
