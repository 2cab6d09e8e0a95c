// RetroArch reads the playlist with a JSON parser, so the layout is free;
// it is the one RetroArch writes itself, two spaces a level. Core and
// thumbnail settings are left to RetroArch: "DETECT" and 0 mean its own
// choice.

#include "export/playlist.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <string_view>
#include <tuple>

#include "export/text_escapes.h"

namespace {

constexpr char HEAD[] =
    "{\n"
    "  \"version\": \"1.5\",\n"
    "  \"default_core_path\": \"\",\n"
    "  \"default_core_name\": \"\",\n"
    "  \"label_display_mode\": 0,\n"
    "  \"right_thumbnail_mode\": 0,\n"
    "  \"left_thumbnail_mode\": 0,\n"
    "  \"sort_mode\": 0,\n"
    "  \"items\": [";
constexpr char TAIL[] = "\n  ]\n}\n";
constexpr char EMPTY_TAIL[] = "]\n}\n";
constexpr char DETECT[] = "DETECT";
constexpr char CRC_FORMAT[] = "%08" PRIX32 "|crc";

// Text with ASCII letters in lower case, for the order of labels.
std::string folded(std::string_view text) {
  std::string result(text);
  for (char& character : result) {
    if (character >= 'A' && character <= 'Z') character = static_cast<char>(character - 'A' + 'a');
  }
  return result;
}

void append_field(std::string& out, const char* key, std::string_view value, bool last = false) {
  out += "      \"";
  out += key;
  out += "\": ";
  append_json_string(out, value);
  out += last ? "\n" : ",\n";
}

void append_item(std::string& out, const PlaylistItem& item) {
  char crc[16];
  std::snprintf(crc, sizeof crc, CRC_FORMAT, item.crc);
  out += "\n    {\n";
  append_field(out, "path", item.path);
  append_field(out, "label", item.label);
  append_field(out, "core_path", DETECT);
  append_field(out, "core_name", DETECT);
  append_field(out, "crc32", crc);
  append_field(out, "db_name", PLAYLIST_FILE_NAME, true);
  out += "    }";
}

}  // namespace

std::string retroarch_playlist(const std::vector<PlaylistItem>& items) {
  std::vector<std::pair<std::string, const PlaylistItem*>> order;
  order.reserve(items.size());
  for (const PlaylistItem& item : items) order.emplace_back(folded(item.label), &item);
  std::sort(order.begin(), order.end(), [](const auto& left, const auto& right) {
    return std::tie(left.first, left.second->label, left.second->path) <
           std::tie(right.first, right.second->label, right.second->path);
  });
  std::string out = HEAD;
  for (std::size_t index = 0; index < order.size(); ++index) {
    if (index > 0) out += ',';
    append_item(out, *order[index].second);
  }
  out += order.empty() ? EMPTY_TAIL : TAIL;
  return out;
}
