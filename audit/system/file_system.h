#pragma once
// The system layer, the bottom of Vald2600 and the only folder that knows the
// operating system: file-system operations, directories, separators and the
// tool's own files. It includes nothing of ours.
//
// The few file-system operations a run needs, in one place. Tests can put
// their own FileSystem in place to count or refuse what a run does.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The separator of the paths the tool builds and shows, and the file that
// takes writes and keeps nothing.
#ifdef _WIN32
inline constexpr char PATH_SEPARATOR = '\\';
inline constexpr char NULL_DEVICE[] = "NUL";
#else
inline constexpr char PATH_SEPARATOR = '/';
inline constexpr char NULL_DEVICE[] = "/dev/null";
#endif

// Outcome of creating a folder or moving a file.
enum class FsStatus { ok, alreadyExists, accessDenied, failed };

struct DirectoryEntry {
  std::string name;
  bool isDirectory = false;  // a real directory, not a link to one
  bool isHidden = false;     // Windows: the hidden attribute; POSIX: a leading dot
  std::uint64_t size = 0;    // file length in bytes; 0 when it cannot be read
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Lists `path` without "." and "..". Returns false when it cannot be read.
  virtual bool list_directory(const std::string& path, std::vector<DirectoryEntry>& entries);

  // Creates a folder (POSIX: mode 0777 before the umask).
  virtual FsStatus make_directory(const std::string& path);

  // Moves a file; never replaces an existing `to`.
  virtual FsStatus move_file(const std::string& from, const std::string& to);

  // Removes a folder only when it is empty (alreadyExists when it is not).
  virtual FsStatus remove_directory(const std::string& path);

  // Whether entries may be added to and removed from the folder `path`;
  // false when that cannot be told.
  virtual bool allows_changes(const std::string& path);
};

// The file system in use: the real one unless a test installed another.
FileSystem& file_system();

// Installs `replacement` (nullptr: the real one again). The caller keeps it alive.
void use_file_system(FileSystem* replacement);

// The current directory, or an empty text when it cannot be read.
std::string current_directory();

// Makes `path` the current directory; returns false when that fails.
bool change_directory(const std::string& path);

// A directory remembered by identity as well as by path, so that a walk can
// come back to it from a subdirectory at any depth.
struct DirectoryMark {
  std::string path;  // may be empty when the path is too long to read
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
};

DirectoryMark mark_current_directory();

// From a direct subdirectory of `parent`, makes `parent` current again.
// Returns false when neither ".." nor the remembered path leads there.
bool return_to_parent(const DirectoryMark& parent);

// The directory of the running executable, ending with one separator; empty
// when it cannot be found.
std::string executable_directory();

// The fall-back directory for the tool's own files (Windows: C:\; POSIX:
// $HOME), ending with one separator; empty when there is none.
std::string fallback_directory();

// `directory` + a separator unless it already ends in one + `name`.
std::string join_path(const std::string& directory, const std::string& name);

// Opens the file at `path` (UTF-8) with a standard fopen mode; nullptr when
// it cannot be opened.
std::FILE* open_file(const std::string& path, const char* mode);

// Moves the position of `file` as fseek does, with 64-bit offsets on every
// platform; false when that fails.
bool seek_file(std::FILE* file, std::int64_t offset, int whence);

// The position of `file` as ftell gives it, 64-bit; -1 when it fails.
std::int64_t tell_file(std::FILE* file);

// Renames the file `from` to `to`, replacing a file `to`; false when that
// fails.
bool replace_file(const std::string& from, const std::string& to);

// Removes the file `path`; false when that fails.
bool remove_file(const std::string& path);

// Makes the console show the tool's UTF-8 output as text (Windows; nothing
// to do on POSIX). Call once, first thing.
void prepare_console();
