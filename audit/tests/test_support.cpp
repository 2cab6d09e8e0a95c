#include "test_support.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "catalogue/rom_table.h"
#include "system/file_system.h"

namespace fs = std::filesystem;

std::string TempDir::operator/(const std::string& relative) const {
  return join_path(path_, relative);
}

namespace {

// The path of the UTF-8 `path`, whatever code page the system uses.
fs::path native_path(const std::string& path) {
  return fs::path(std::u8string(path.begin(), path.end()));
}

}  // namespace

namespace {

std::string read_file(const std::string& path) {
  std::ifstream file(native_path(path), std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

}  // namespace

std::string read_text(const std::string& path) {
  std::string text = read_file(path);
  if (ON_WINDOWS) {
    std::string::size_type to = 0;
    for (std::string::size_type at = 0; at < text.size(); ++at) {
      if (text[at] != '\r' || at + 1 == text.size() || text[at + 1] != '\n') text[to++] = text[at];
    }
    text.resize(to);
  }
  return text;
}

std::vector<unsigned char> read_bytes(const std::string& path) {
  const std::string bytes = read_file(path);
  return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

std::string native(std::string path) {
  for (char& character : path) {
    if (character == '/') character = PATH_SEPARATOR;
  }
  return path;
}

void write_text(const std::string& path, const std::string& text) {
  std::ofstream file(native_path(path), std::ios::binary);
  file << text;
}

void write_bytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream file(native_path(path), std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void make_dir(const std::string& path) {
  fs::create_directories(native_path(path));
}

std::vector<std::string> list_names(const std::string& path) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(native_path(path), error)) {
    const std::u8string name = entry.path().filename().u8string();
    names.emplace_back(name.begin(), name.end());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string program_file_name() {
  return fs::path(VALD_BINARY).filename().string();
}

ValdSandbox::ValdSandbox() {
  make_dir(program_dir());
  make_dir(work_dir());
  make_dir(home_dir());
  fs::copy_file(VALD_BINARY, program(program_file_name()));
}

ProgramResult ValdSandbox::run(const std::vector<std::string>& arguments) const {
  return run_in(work_dir(), arguments);
}

ProgramResult ValdSandbox::run_in(const std::string& directory,
                                  const std::vector<std::string>& arguments) const {
  return run_program(program(program_file_name()), arguments, directory, home_dir());
}

int count_of(const std::string& text, const std::string& piece) {
  int count = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos;
       at = text.find(piece, at + piece.size())) {
    ++count;
  }
  return count;
}

std::uint32_t catalogue_crc(int index) {
  return static_cast<std::uint32_t>(
      std::strtoul(std::string(ROM_TABLE[index], 8).c_str(), nullptr, 16));
}

std::string catalogue_name(int index) {
  return ROM_TABLE[index] + 9;
}

int catalogue_index_of(const std::string& name) {
  for (int index = 0; index < ROM_TABLE_COUNT; ++index) {
    if (name == ROM_TABLE[index] + 9) return index;
  }
  return -1;
}
