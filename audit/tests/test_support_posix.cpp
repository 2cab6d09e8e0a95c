// The parts of the test helpers that talk to a POSIX system: temporary
// folders, the environment and starting a program with its output captured.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "test_support.h"

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

bool file_exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

void hide(const std::string&) {}  // the leading dot of its name hides it

void drop_from_cache(const std::string& folder) {
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    const int file = open(entry.path().c_str(), O_RDONLY);
    if (file < 0) continue;
    fsync(file);  // pages not yet written would stay
    posix_fadvise(file, 0, 0, POSIX_FADV_DONTNEED);
    close(file);
  }
}

void set_environment(const std::string& name, const std::string& value) {
  setenv(name.c_str(), value.c_str(), 1);
}

void unset_environment(const std::string& name) {
  unsetenv(name.c_str());
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
