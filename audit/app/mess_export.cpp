#include "app/mess_export.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "catalogue/rom_database.h"
#include "run/run_state.h"

namespace {

constexpr const char* HEADER_LINES[] = {
    "# This MESS CRC file was generated from Tamsell's Vald databases",
    "# Please keep this notice intact if editing this file",
    "# crc= Game Name | Year | Manufacturer | Emulation Status",
    "",
    "[a2600]",
};
constexpr char BAD_DUMP_STATUS[] = "Known Bad Dump";

struct MessFields {
  std::string name;
  std::string year;
  std::string status;
};

// Takes "(19xx)" or a seven-character "(19xx-yy)" out of the name, with the
// character before it; only the first "(19" counts.
void take_out_year(MessFields& fields) {
  std::string& name = fields.name;
  const std::size_t open = name.find("(19");
  if (open == std::string::npos) return;
  std::size_t length = 0;
  if (open + 5 < name.size() && name[open + 5] == ')') {
    length = 4;
  } else if (open + 8 < name.size() && name[open + 8] == ')') {
    length = 7;
  } else {
    return;
  }
  fields.year = name.substr(open + 1, length);
  const std::size_t from = open == 0 ? 0 : open - 1;
  name.erase(from, open + length + 2 - from);
}

// A "{maker}" tag becomes the status text; the name ends before the brace.
void take_out_maker_tag(MessFields& fields) {
  const std::size_t brace = fields.name.find('{');
  if (brace == std::string::npos) return;
  const std::size_t close = fields.name.find('}', brace + 1);
  fields.status = fields.name.substr(
      brace + 1, close == std::string::npos ? std::string::npos : close - brace - 1);
  fields.name.resize(brace);
}

}  // namespace

std::string mess_crc_line(const char* entry) {
  const std::string_view text = entry;
  MessFields fields;
  fields.name = std::string(text.substr(std::min<std::size_t>(DB_NAME_OFFSET, text.size())));
  take_out_year(fields);
  take_out_maker_tag(fields);
  if (fields.name.find("[b") != std::string::npos) fields.status = BAD_DUMP_STATUS;
  return std::string(text.substr(0, 8)) + "= " + fields.name + " | " + fields.year + " | | " +
         fields.status + "\n";
}

void export_mess_crc() {
  for (const char* line : HEADER_LINES) std::printf("%s\n", line);
  const int count = db_count();  // also puts the shipped catalogue in place
  for (int index = 0; index < count; ++index) {
    std::fputs(mess_crc_line(rom_database().entries[index]).c_str(), stdout);
  }
}
