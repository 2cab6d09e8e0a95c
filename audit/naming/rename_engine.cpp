#include "naming/rename_engine.h"

#include <cctype>
#include <optional>
#include <vector>

#include "catalogue/rom_database.h"
#include "files/tool_files.h"
#include "naming/info_config.h"
#include "naming/naming_messages.h"
#include "naming/placer.h"
#include "naming/safe_names.h"
#include "run/failure_messages.h"
#include "run/run_state.h"
#include "system/file_system.h"

namespace {

const RunOptions& options() {
  return run_state().options;
}

// "Creating" lines come two to a console line.
class CreatingMessages {
 public:
  void announce(const std::string& directory) {
    if (options().quiet) return;
    ++count_;
    print_creating(directory, !line_open());
  }
  void close_line() {
    if (line_open()) close_creating_line();
    count_ = 0;
  }

 private:
  bool line_open() const { return count_ % 2 == 1; }
  int count_ = 0;
};

std::string lower_case(std::string text) {
  for (char& character : text) {
    character = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
  }
  return text;
}

// The folder holding `path`, "." for a bare name.
std::string parent_folder(const std::string& path) {
  const std::string parent = parent_of(path);
  return parent.empty() ? std::string(".") : parent;
}

// Whether the folder at `path`, which is there, is a folder of its own and
// not a link to one elsewhere (notRegular): a run never moves files through
// a link. A folder that cannot be listed cannot tell.
FsResult own_folder(const std::string& path) {
  std::vector<DirectoryEntry> entries;
  const std::string parent = parent_folder(path);
  if (FsResult listed = file_system().list_directory(at_start(parent), entries); !listed.ok())
    return listed;
  const std::string leaf = leaf_of(path);
  for (const DirectoryEntry& entry : entries) {
    if (entry.name == leaf && entry.isDirectory) return {};
  }
  return fs_failure(FsStatus::notRegular, 0, path);
}

// Creates a folder; true when it exists afterwards as a folder of its own,
// else announced (a link stops every move of the run).
bool ensure_directory(const std::string& path) {
  const FsResult made = file_system().make_directory(at_start(path));
  if (made.ok()) return true;
  if (made.status != FsStatus::alreadyExists) {
    print_dir_error(path);
    return false;
  }
  const FsResult own = own_folder(path);
  if (own.ok()) return true;
  run_state().rename.movesStopped = true;
  if (own.status == FsStatus::notRegular) {
    print_target_not_a_folder(path);
  } else {
    print_cannot_list(parent_folder(path), own);
  }
  return false;
}

std::string in_folder(const char* folder, const std::string& name) {
  return std::string(folder) + PATH_SEPARATOR + name;
}

std::string with_separator_char(std::string name) {
  if (options().sep) {
    for (char& character : name) {
      if (character == ' ') character = options().sepChar;
    }
  }
  return name;
}

std::string without_extension(const std::string& name) {
  return name.substr(0, name.size() - name_extension(name).size());
}

const InfoGroup* group_of(int index) {
  const InfoConfig& info = run_state().info;
  if (!options().dirs || !info.loaded) return nullptr;
  const int group = find_info_group(index);
  return group < 0 ? nullptr : &info.groups[group];
}

std::string new_extension(const std::string& oldName, const InfoGroup* group) {
  // An archive keeps its own kind, in lower case (".zip", ".7z"), even in a group.
  if (run_state().dispatch.inMemory) return lower_case(name_extension(oldName));
  if (group != nullptr && !group->tag.empty()) return "." + group->tag;
  return lower_case(name_extension(oldName));
}

// A file name that would reach into another folder is no name ('/'
// separates folders on every platform); any other name is made safe.
std::optional<std::string> leaf_name(const std::string& leaf) {
  if (leaf.find_first_of({'/', PATH_SEPARATOR}) != std::string::npos) return std::nullopt;
  return safe_name(leaf);
}

}  // namespace

std::optional<std::string> rename_target(int index, const std::string& oldName) {
  if (options().move) return in_folder(RENAME_TARGET_DIR, oldName);
  const InfoGroup* group = group_of(index);
  const auto leaf = leaf_name(with_separator_char(db_name(index)) + new_extension(oldName, group));
  if (!leaf) return std::nullopt;
  return in_folder(RENAME_TARGET_DIR, (group != nullptr ? group->directory : "") + *leaf);
}

std::optional<std::string> dupes_target(int index, const std::string& oldName) {
  if (options().move) return in_folder(DUPES_TARGET_DIR, oldName);
  const auto leaf = leaf_name(db_name(index) + name_extension(oldName));
  if (!leaf) return std::nullopt;
  return in_folder(DUPES_TARGET_DIR, *leaf);
}

bool prepare_dupes_folder() {
  bool& prepared = run_state().rename.dupesPrepared;
  if (!prepared) prepared = ensure_directory(DUPES_TARGET_DIR);
  return prepared;
}

namespace {

bool directory_seen_before(int group) {
  const auto& groups = run_state().info.groups;
  for (int earlier = 0; earlier < group; ++earlier) {
    if (groups[earlier].directory == groups[group].directory) return true;
  }
  return false;
}

// Creates each level of a group directory under 2600Ren, outermost first.
bool create_directory_levels(const std::string& directory) {
  for (std::size_t at = directory.find(PATH_SEPARATOR); at != std::string::npos;
       at = directory.find(PATH_SEPARATOR, at + 1)) {
    if (!ensure_directory(in_folder(RENAME_TARGET_DIR, directory.substr(0, at)))) return false;
  }
  return true;
}

}  // namespace

bool prepare_targets() {
  RenameState& state = run_state().rename;
  if (state.targetPrepared) return true;
  state.targetPrepared = true;
  if (options().list) return true;
  if (!ensure_directory(RENAME_TARGET_DIR)) return false;
  if (options().dirs && !options().move && run_state().info.loaded) create_group_dirs();
  return true;
}

std::string name_extension(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return std::string();
  return name.substr(dot);
}

bool rename_image(const char* crcText, const char* oldName) {
  const int index = identified_entry(db_find_crc_text(crcText, 0));
  if (index < 0) return false;
  PlacedImage image;
  image.name = oldName;
  image.shown = oldName;
  take_catalogued_image(index, image, options().list ? std::nullopt : std::optional(Placing::move));
  return true;
}

void log_change(const char* oldName, const char* newName) {
  const std::string new_text = with_separator_char(newName);
  if (!options().changes) return;
  const std::string old_text = without_extension(oldName);
  if (!options().changesAll && old_text == new_text) return;
  FileHandle& log = run_state().logs.change;
  if (log == nullptr) log = append_to_tool_file(CHANGE_LOG_NAME);
  const std::string line = options().changesReversed
                               ? "O: \"" + old_text + "\"  N: \"" + new_text + "\"\n"
                               : "N: \"" + new_text + "\"  O: \"" + old_text + "\"\n";
  if (!options().quiet) print_change_line(line);
  // A failed write stays in the log; closing the logs says so.
  if (log != nullptr) (void)write_text(*log, line);
}

bool create_group_dirs() {
  if (!ensure_directory(RENAME_TARGET_DIR)) return false;
  CreatingMessages messages;
  const auto& groups = run_state().info.groups;
  for (int group = 0; group < INFO_GROUP_LIMIT; ++group) {
    const std::string& directory = groups[group].directory;
    if (directory.empty() || directory_seen_before(group)) continue;
    messages.announce(directory);
    if (!create_directory_levels(directory)) {
      messages.close_line();
      return false;
    }
  }
  messages.close_line();
  return true;
}

const char* next_counter_name(const std::string& name) {
  std::string& buffer = run_state().rename.counterName;
  buffer = name;
  const std::size_t size = buffer.size();
  if (size < 2 || (buffer[size - 1] == '9' && buffer[size - 2] == '9')) {
    print_out_of_names();
    return nullptr;
  }
  char& units = buffer[size - 1];
  char& tens = buffer[size - 2];
  const auto is_digit = [](char character) { return character >= '0' && character <= '9'; };
  int tens_value = is_digit(tens) ? tens - '0' : 0;
  if (!is_digit(units)) {
    units = '0';
  } else if (units == '9') {
    units = '0';
    ++tens_value;
  } else {
    ++units;
  }
  if (tens_value != 0) tens = static_cast<char>('0' + tens_value);
  return buffer.c_str();
}
