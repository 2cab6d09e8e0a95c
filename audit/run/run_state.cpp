#include "run/run_state.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "run/failure_messages.h"
#include "system/tool_file_names.h"

namespace {

RunState state;

}  // namespace

RunState& run_state() {
  return state;
}

FileHandle append_to_tool_file(const char* name) {
  FileHandle file;
  const FsResult opened = open_tool_file(state.directories, name, "a", file);
  if (!opened.ok() && state.logs.unopened.insert(name).second) print_cannot_write(name, opened);
  return file;
}

FileStream* start_rewrite(Replacement& rewrite, const char* name) {
  const FsResult opened = open_tool_file_replacement(state.directories, name, rewrite);
  if (opened.ok()) return rewrite.file.get();
  print_cannot_write(name, opened);
  return nullptr;
}

bool finish_rewrite(Replacement& rewrite, const char* name) {
  if (rewrite.file == nullptr) return false;
  const FsResult written = commit_tool_file_replacement(std::move(rewrite));
  if (written.ok()) return true;
  print_cannot_write(name, written);
  print_kept_as_it_was(name);
  return false;
}

namespace {

char folded(char character) {
  return character >= 'A' && character <= 'Z' ? static_cast<char>(character - 'A' + 'a')
                                              : character;
}

}  // namespace

// Eight bytes with their ASCII capitals made small, all at once: a byte
// from 'A' to 'Z' gains the bit that tells the cases apart.
std::uint64_t folded_word(std::uint64_t word) {
  constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7Full;
  constexpr std::uint64_t high = 0x8080808080808080ull;
  const std::uint64_t seven = word & low7;
  const std::uint64_t from_a = seven + 0x3F3F3F3F3F3F3F3Full;  // high bit: byte >= 'A'
  const std::uint64_t past_z = seven + 0x2525252525252525ull;  // high bit: byte > 'Z'
  const std::uint64_t capital = from_a & ~past_z & ~word & high;
  return word | (capital >> 2);
}

std::size_t FoldedHash::operator()(std::string_view name) const {
  std::uint64_t hash = name.size();
  std::size_t at = 0;
  for (; at + 8 <= name.size(); at += 8) {
    std::uint64_t word;
    std::memcpy(&word, name.data() + at, 8);
    hash = (hash ^ folded_word(word)) * 0x9E3779B97F4A7C15ull;
    hash ^= hash >> 29;
  }
  for (; at < name.size(); ++at) {
    hash = (hash ^ static_cast<unsigned char>(folded(name[at]))) * 0x100000001B3ull;
  }
  return static_cast<std::size_t>(hash ^ (hash >> 32));
}

bool FoldedEqual::operator()(std::string_view left, std::string_view right) const {
  if (left.size() != right.size()) return false;
  for (std::size_t at = 0; at < left.size(); ++at) {
    if (folded(left[at]) != folded(right[at])) return false;
  }
  return true;
}

const std::string& journal_folder() {
  return state.directories.out.empty() ? state.directories.start : state.directories.out;
}

std::string in_target(const std::string& path) {
  if (state.directories.out.empty()) return at_start(path);
  return join_path(state.directories.out, path);
}

std::string at_start(const std::string& path) {
  if (state.walk.depth == 0) return path;
  return join_path(state.directories.start, path);
}

bool finish_tool_file(FileHandle& file, const char* name) {
  if (file == nullptr) return true;
  const FsResult written = file->close();
  if (!written.ok()) print_cannot_write(name, written);
  file.reset();
  return written.ok();
}

void close_tool_logs() {
  finish_tool_file(state.logs.change, CHANGE_LOG_NAME);
  finish_tool_file(state.logs.scan, SCAN_LOG_NAME);
  finish_tool_file(state.logs.zip.file, ZIP_LOG_NAME);
}

void reset_run_state() {
  close_tool_logs();
  state = RunState{};
  reset_rom_database();
}

bool grow_image_buffer(std::size_t size) {
  ImageBuffer& image = state.image;
  if (image.data && size <= image.capacity) return true;
  constexpr std::size_t slack = 64 * 1024;
  image.data.reset();
  image.data.reset(new (std::nothrow) unsigned char[size + slack]);
  image.capacity = image.data ? size : 0;
  return image.data != nullptr;
}
