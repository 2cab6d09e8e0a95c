#pragma once
// Helpers for the audit tool's tests: temporary folders, files, and running
// the built Vald2600 as a user would.

#include <cstdint>
#include <string>
#include <vector>

#include "system/file_system.h"

// A fresh folder under the system's temporary directory, removed with all
// its content when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + the native separator + relative
  std::string operator/(const std::string& relative) const;

 private:
  std::string path_;
};

// The text of a file; on Windows its CR LF line ends read as LF, as the C
// library's text mode writes them.
std::string read_text(const std::string& path);
std::vector<unsigned char> read_bytes(const std::string& path);
void write_text(const std::string& path, const std::string& text);
void write_bytes(const std::string& path, const std::vector<unsigned char>& bytes);
bool file_exists(const std::string& path);
// `path` with each '/' turned into the native separator.
std::string native(std::string path);
// Marks a file or folder hidden: on Windows its hidden attribute; on POSIX
// nothing, its name must begin with a dot.
void hide(const std::string& path);
// Sets or removes a variable of this process's environment.
void set_environment(const std::string& name, const std::string& value);
void unset_environment(const std::string& name);
void make_dir(const std::string& path);
// Writes the files below `folder` to the disk and drops them from the page
// cache, as a fresh mount would leave them (POSIX; nothing on Windows).
void drop_from_cache(const std::string& folder);
// Names in a folder, sorted; empty when it cannot be read.
std::vector<std::string> list_names(const std::string& path);

struct ProgramResult {
  std::string out;  // standard output
  std::string err;  // standard error
  int exitCode = -1;
};

// Runs `program` with `arguments` in `directory`, with HOME set to `home`
// (so the tool's fall-back directory is never the developer's own).
ProgramResult run_program(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& directory, const std::string& home);

// Whether the tests run on Windows, where a few cases cannot hold (they skip
// with the reason).
inline constexpr bool ON_WINDOWS = PATH_SEPARATOR == '\\';

// The file name of the built Vald2600 (Vald2600.exe on Windows).
std::string program_file_name();

// A sandbox for one run of Vald2600: the program is copied into prog/ (its
// have database lands there), the collection lives in work/, HOME is home/.
class ValdSandbox {
 public:
  ValdSandbox();
  std::string program_dir() const { return root_ / "prog"; }
  std::string work_dir() const { return root_ / "work"; }
  std::string home_dir() const { return root_ / "home"; }
  std::string work(const std::string& relative) const { return join_path(work_dir(), relative); }
  std::string program(const std::string& relative) const {
    return join_path(program_dir(), relative);
  }

  ProgramResult run(const std::vector<std::string>& arguments) const;
  // Runs in a subfolder of work/ (or any folder) instead.
  ProgramResult run_in(const std::string& directory,
                       const std::vector<std::string>& arguments) const;

 private:
  TempDir root_;
};

// Count of non-overlapping occurrences of `piece` in `text`.
int count_of(const std::string& text, const std::string& piece);

// The catalogue entry at `index` of the shipped table: its CRC and name.
std::uint32_t catalogue_crc(int index);
std::string catalogue_name(int index);
// Position of the shipped entry whose name is `name`; -1 when none.
int catalogue_index_of(const std::string& name);
