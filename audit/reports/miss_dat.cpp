#include "reports/miss_dat.h"

#include <cstdio>
#include <ctime>

#include "catalogue/rom_database.h"
#include "files/tool_files.h"
#include "reports/reports.h"
#include "run/run_state.h"

namespace {

constexpr char HEADER[] =
    "<?xml version=\"1.0\"?>\n"
    "<!DOCTYPE datafile PUBLIC \"-//Logiqx//DTD ROM Management Datafile//EN\" "
    "\"http://www.logiqx.com/Dats/datafile.dtd\">\n"
    "<datafile>\n"
    "\t<header>\n"
    "\t\t<name>%s - missing</name>\n"
    "\t\t<description>%s images missing from the collection (%d)</description>\n"
    "\t\t<version>%s</version>\n"
    "\t\t<author>Vald2600</author>\n"
    "\t</header>\n";
// The image name of an entry whose DAT gave none (the compiled-in table's).
constexpr char IMAGE_EXTENSION[] = ".bin";

// The version a datafile header requires: when the list was made, in UTC.
std::string made_at() {
  const std::time_t now = std::time(nullptr);
  char text[32] = "unknown";
  if (const std::tm* utc = std::gmtime(&now))
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", utc);
  return text;
}

template <std::size_t N>
std::string hex_of(const std::array<unsigned char, N>& bytes) {
  std::string text;
  char pair[3];
  for (const unsigned char byte : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", byte);
    text += pair;
  }
  return text;
}

// The rom element of entry `index`: a DAT's entry keeps its DAT's image
// name, the compiled-in table's is named as the rename engine names it.
std::string rom_element(int index) {
  const CatalogueEntry record = db_entry_record(index);
  const bool ownName = db_entry_details(index) != nullptr && !record.image.empty();
  const std::string image = ownName ? record.image : std::string(db_name(index)) + IMAGE_EXTENSION;
  char crc[9];
  std::snprintf(crc, sizeof crc, "%08x", static_cast<unsigned>(rom_database().crcs[index]));
  std::string rom = "\t\t<rom name=\"" + xml_escaped(image) + "\"";
  if (const std::uint32_t size = db_entry_size(index); size != 0)
    rom += " size=\"" + std::to_string(size) + "\"";
  rom += " crc=\"" + std::string(crc) + "\"";
  if (record.hasMd5) rom += " md5=\"" + hex_of(record.md5) + "\"";
  if (record.hasSha1) rom += " sha1=\"" + hex_of(record.sha1) + "\"";
  if (record.badDump) rom += " status=\"baddump\"";
  return rom + "/>\n";
}

}  // namespace

std::string xml_escaped(const std::string& text) {
  std::string escaped;
  for (const char character : text) {
    switch (character) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&apos;";
        break;
      default:
        escaped.push_back(character);
    }
  }
  return escaped;
}

void write_miss_dat() {
  int missing = 0;
  for (int index = 0; index < db_count(); ++index) missing += db_entry_missing(index) ? 1 : 0;
  Replacement rewrite;
  FileStream* dat = start_rewrite(rewrite, MISS_DAT_NAME);
  if (dat == nullptr) return;
  // A failed write stays in the stream, which reports it when it is closed.
  (void)print_to(*dat, HEADER, SYSTEM_NAME, SYSTEM_NAME, missing, made_at().c_str());
  for (int index = 0; index < db_count(); ++index) {
    if (!db_entry_missing(index)) continue;
    const std::string name = xml_escaped(db_name(index));
    (void)print_to(*dat, "\t<game name=\"%s\">\n\t\t<description>%s</description>\n%s\t</game>\n",
                   name.c_str(), name.c_str(), rom_element(index).c_str());
  }
  (void)write_text(*dat, "</datafile>\n");
  finish_rewrite(rewrite, MISS_DAT_NAME);
}
