#include "test_support.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "catalogue/rom_table.h"

extern char** environ;

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "vald-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

namespace {

// Removes everything below the open folder `fd` by relative names, so trees
// deeper than any path the system accepts can go too.
void remove_contents_at(int fd) {
  DIR* directory = fdopendir(dup(fd));
  if (directory == nullptr) return;
  std::vector<std::string> names;
  while (const dirent* entry = readdir(directory)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(directory);
  for (const std::string& name : names) {
    struct stat info;
    if (fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISDIR(info.st_mode)) {
      fchmodat(fd, name.c_str(), 0700, 0);
      const int child = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
      if (child >= 0) {
        remove_contents_at(child);
        close(child);
      }
      unlinkat(fd, name.c_str(), AT_REMOVEDIR);
    } else {
      unlinkat(fd, name.c_str(), 0);
    }
  }
}

}  // namespace

TempDir::~TempDir() {
  chmod(path_.c_str(), 0700);
  const int fd = open(path_.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    remove_contents_at(fd);
    close(fd);
  }
  rmdir(path_.c_str());
}

std::string TempDir::operator/(const std::string& relative) const {
  return path_ + "/" + relative;
}

std::string read_text(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

std::vector<unsigned char> read_bytes(const std::string& path) {
  const std::string text = read_text(path);
  return std::vector<unsigned char>(text.begin(), text.end());
}

void write_text(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
}

void write_bytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

bool file_exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

void make_dir(const std::string& path) {
  fs::create_directories(path);
}

std::vector<std::string> list_names(const std::string& path) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(path, error)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

ProgramResult run_program(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& directory, const std::string& home) {
  TempDir capture;
  const std::string out_path = capture / "out";
  const std::string err_path = capture / "err";
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 ||
        chdir(directory.c_str()) != 0) {
      _exit(127);
    }
    setenv("HOME", home.c_str(), 1);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ProgramResult result;
  result.out = read_text(out_path);
  result.err = read_text(err_path);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

ValdSandbox::ValdSandbox() {
  make_dir(program_dir());
  make_dir(work_dir());
  make_dir(home_dir());
  fs::copy_file(VALD_BINARY, program("Vald2600"));
}

ProgramResult ValdSandbox::run(const std::vector<std::string>& arguments) const {
  return run_in(work_dir(), arguments);
}

ProgramResult ValdSandbox::run_in(const std::string& directory,
                                  const std::vector<std::string>& arguments) const {
  return run_program(program("Vald2600"), arguments, directory, home_dir());
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
