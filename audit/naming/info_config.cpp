#include "naming/info_config.h"

#include <algorithm>
#include <string_view>

#include "catalogue/rom_database.h"
#include "files/line_reader.h"
#include "naming/naming_messages.h"
#include "naming/safe_names.h"
#include "run/failure_messages.h"
#include "run/run_state.h"
#include "system/file_system.h"

namespace {

constexpr std::size_t LINE_LIMIT = 199;
constexpr std::string_view SECTION_HEADER = "[A2600]";

// One line of the file: its text and the line end it had ("\n", "\r\n" or
// nothing on a last line), so that messages can show the line as read.
struct ConfigLine {
  std::string text;
  std::string end;
};

// Reads the next line; text beyond the line limit is consumed and dropped.
bool read_config_line(LineReader& reader, ConfigLine& line) {
  bool too_long = false;
  const LineReader::Result result = reader.next(line.text, LINE_LIMIT, too_long);
  line.end = result == LineReader::Result::line ? "\n" : "";
  if (!line.text.empty() && line.text.back() == '\r') {
    line.text.pop_back();
    line.end.insert(0, "\r");
  }
  return result != LineReader::Result::end;
}

bool opens_section(std::string_view text) {
  return text.starts_with(SECTION_HEADER);
}

// A bracketed header line such as "[A7800]"; "[b]:Bad" is a pattern line.
bool closes_section(std::string_view text) {
  return text.starts_with('[') && text.find(']', 1) != std::string_view::npos &&
         text.find(':', 1) == std::string_view::npos;
}

// The directory text ends at the line end or at any byte outside printable
// ASCII.
std::string_view printable_prefix(std::string_view text) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x20 || byte >= 0x80) return text.substr(0, at);
  }
  return text;
}

// Both separators are accepted; the directory keeps the native one, its
// closing separator included, within the field's limit, and every level of
// it is made safe as a folder name.
std::string normalised_directory(std::string_view text) {
  std::string directory(text.substr(0, INFO_TEXT_LIMIT));
  for (char& character : directory) {
    if (character == '\\' || character == '/') character = PATH_SEPARATOR;
  }
  if (directory.empty() || directory.back() != PATH_SEPARATOR) {
    if (directory.size() == INFO_TEXT_LIMIT) directory.pop_back();
    directory.push_back(PATH_SEPARATOR);
  }
  return safe_path(directory, PATH_SEPARATOR);
}

// "pattern:directory[;tag[;N]]", the colon already found at `colon`.
InfoGroup parse_group(std::string_view text, std::size_t colon) {
  InfoGroup group;
  group.pattern = std::string(text.substr(0, std::min(colon, INFO_TEXT_LIMIT)));
  std::string_view directory = printable_prefix(text.substr(colon + 1));
  const std::size_t tag_start = directory.find(';');
  if (tag_start != std::string_view::npos) {
    const std::string_view after = directory.substr(tag_start + 1);
    const std::size_t tag_end = after.find(';');
    const std::string_view tag = after.substr(0, tag_end);
    if (tag_end != std::string_view::npos && tag_end + 1 < after.size() &&
        (after[tag_end + 1] == 'N' || after[tag_end + 1] == 'n')) {
      group.include = 0;
    }
    if (tag.size() <= INFO_TAG_LIMIT) group.tag = std::string(tag);
    directory = directory.substr(0, tag_start);
  }
  group.directory = normalised_directory(directory);
  return group;
}

// Reads the file into the groups; returns when the file ends or the table
// is full.
class ConfigReader {
 public:
  explicit ConfigReader(InfoConfig& info) : info_(info) {}

  bool full() const { return count_ >= INFO_GROUP_LIMIT; }

  void take(const ConfigLine& line) {
    const std::string_view text = line.text;
    if (text.size() <= 1 || text.starts_with('#')) return;
    if (!in_section_) {
      in_section_ = opens_section(text);
      return;
    }
    if (closes_section(text)) {
      in_section_ = opens_section(text);
      return;
    }
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
      print_cannot_interpret(line.text + line.end);
      return;
    }
    info_.groups[count_++] = parse_group(text, colon);
    if (full()) print_pattern_limit();
  }

 private:
  InfoConfig& info_;
  bool in_section_ = false;
  int count_ = 0;
};

}  // namespace

void load_info_config() {
  InfoConfig& info = run_state().info;
  info = InfoConfig{};
  const std::string path = run_state().directories.program + INFO_FILE_NAME;
  FileHandle file;
  if (!file_system().open(path, "r", file, true).ok()) {
    print_info_defaults(path);
    return;
  }
  ConfigReader reader(info);
  LineReader lines(*file);
  ConfigLine line;
  while (!reader.full() && read_config_line(lines, line)) reader.take(line);
  if (const FsResult failure = file->failure(); !failure.ok()) {
    // Groups from part of the file would sort images by half the rules.
    print_cannot_read(path, failure);
    info = InfoConfig{};
    print_info_defaults(path);
    return;
  }
  info.loaded = true;
}

bool info_pattern_matches(const std::string& pattern, const char* name) {
  const std::string_view text = name;
  std::size_t piece_start = 0;
  while (true) {
    const std::size_t star = pattern.find('*', piece_start);
    const std::string_view piece = std::string_view(pattern).substr(
        piece_start, star == std::string::npos ? std::string::npos : star - piece_start);
    if (text.find(piece) == std::string_view::npos) return false;
    if (star == std::string::npos) return true;
    piece_start = star + 1;
  }
}

int find_info_group(int index) {
  if (index < 0 || index >= db_count()) return -1;
  const char* name = db_name(index);
  const auto& groups = run_state().info.groups;
  for (int group = 0; group < INFO_GROUP_LIMIT; ++group) {
    if (groups[group].pattern.empty()) break;
    if (info_pattern_matches(groups[group].pattern, name)) return group;
  }
  return -1;
}
