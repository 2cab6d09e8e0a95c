#pragma once
// The system layer, the bottom of Vald2600 and the only folder that knows the
// operating system: file-system operations, directories, separators and the
// tool's own files. It includes nothing of ours.
//
// Every file operation a run makes goes through one FileSystem. Tests can put
// their own in place to count, serve from memory or refuse what a run does.

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The separator of the paths the tool builds and shows.
#ifdef _WIN32
inline constexpr char PATH_SEPARATOR = '\\';
#else
inline constexpr char PATH_SEPARATOR = '/';
#endif

// The kind of a file operation's outcome. refused: not tried, because a view
// over the disk would not let it happen; that view says why. busy: a lock
// another process holds. notRegular: a file was to be opened, and the path
// holds something else (a folder, a pipe, a device, or a symbolic link where
// the tool writes), which is left alone.
enum class FsStatus { ok, alreadyExists, accessDenied, failed, refused, busy, notRegular };

// What a file operation gave: success, or the failure's kind with the
// system's error number and the path it concerns. The one shape in which
// every failure of the disk travels up; its text is made where it is shown.
// It is read through ok() alone: a caller that drops one without a look must
// say why, with an explicit (void).
struct [[nodiscard]] FsResult {
  FsStatus status = FsStatus::ok;
  int error = 0;     // the system's error number; 0 on success
  std::string path;  // the path the failure concerns; empty on success

  bool ok() const { return status == FsStatus::ok; }

  // Nothing is at the path (or on the way to it).
  bool missing() const;

  // The system has no such call.
  bool unsupported() const;

  // The folder or file may not be changed by this process (no right, or a
  // read-only file system).
  bool denied() const;

  // The system's words for the failure.
  std::string reason() const;
};

// Whether `result` is of the kind `status`.
inline bool operator==(const FsResult& result, FsStatus status) {
  return result.status == status;
}

// Failures made by the tool itself rather than reported by a system call,
// each with the error number the system would give for it.
FsResult fs_failure(FsStatus status, int error, const std::string& path);
FsResult fs_already_exists(const std::string& path);
FsResult fs_access_denied(const std::string& path);
FsResult fs_missing(const std::string& path);
FsResult fs_io_failure(const std::string& path);
FsResult fs_refused(const std::string& path);

// What a file or folder is on its disk, whatever its name: the same from its
// creation to its removal, and never that of another at the same time.
struct FileIdentity {
  std::uint64_t device = 0;  // Windows: the volume's serial number
  std::uint64_t file = 0;    // POSIX: the inode; Windows: the file index

  bool operator==(const FileIdentity&) const = default;
};

// A folder the walk left for one of its subfolders, to come back to.
using DirectoryMark = FileIdentity;

struct DirectoryEntry {
  std::string name;
  bool isDirectory = false;  // a real directory, not a link to one
  bool isHidden = false;     // Windows: the hidden attribute; POSIX: a leading dot
  std::uint64_t size = 0;    // file length in bytes; 0 when it cannot be read
  bool isLink = false;       // a symbolic link (Windows: any reparse point), to whatever
  bool isSpecial = false;    // neither file, folder nor link: a pipe, a socket, a device
};

// A file opened through a FileSystem. Reads, writes and seeks go through it,
// so that a test disk can serve them from memory or make any of them fail.
class FileStream {
 public:
  virtual ~FileStream() = default;

  // Reads up to `count` bytes; returns how many arrived (fewer at the end of
  // the file or when the read failed: failure() then says why).
  virtual std::size_t read(void* buffer, std::size_t count) = 0;

  // Moves the position as fseek does, with 64-bit offsets. A position the
  // file cannot have fails without counting as the file's failure.
  virtual FsResult seek(std::int64_t offset, int whence) = 0;

  // The position, 64-bit; -1 when it cannot be told.
  virtual std::int64_t tell() = 0;

  // Writes all of `data`.
  virtual FsResult write(const void* data, std::size_t count) = 0;

  // Hands what was written to the system.
  virtual FsResult flush() = 0;

  // Flushes, then asks the system to put the data on the disk, so that it
  // survives a crash of the machine, not only of the program.
  virtual FsResult sync() = 0;

  // Success while no read or write has failed (an end of file is no
  // failure); else the first failure.
  virtual FsResult failure() const = 0;

  // Cuts the file to `size` bytes (a writer takes back a record it could
  // not write whole).
  virtual FsResult truncate(std::int64_t size) = 0;

  // Closes the file; fails when the close or any earlier write failed.
  // Later calls do nothing and give the same answer.
  virtual FsResult close() = 0;
};

using FileHandle = std::unique_ptr<FileStream>;

// A file the caller is about to read whole, with its length from the listing.
struct ReadAheadFile {
  std::string path;
  std::uint64_t size = 0;
};

// How far a reader asks ahead of the file in hand: at most this many files
// and bytes hinted and not read yet.
inline constexpr std::size_t READ_AHEAD_FILES = 64;
inline constexpr std::uint64_t READ_AHEAD_BYTES = 8 * 1024 * 1024;

// Writes `text` whole.
FsResult write_text(FileStream& file, std::string_view text);

// Writes printf-style text whole.
FsResult print_to(FileStream& file, const char* format, ...) __attribute__((format(printf, 2, 3)));
FsResult vprint_to(FileStream& file, const char* format, std::va_list arguments);

// A read-only stream over `bytes`, which the caller keeps alive: how data
// already in memory reaches a reader of files.
FileHandle open_memory(std::string_view bytes);

// A stream that takes every write and adds it to `*kept`, which the caller
// keeps alive; with nullptr it keeps nothing. How a file is made in memory,
// and where the writes of a run that only plans go.
FileHandle open_collecting(std::string* kept);

// An exclusive lock on a file, held until it is destroyed.
class FileLock {
 public:
  virtual ~FileLock() = default;
};

using LockHandle = std::unique_ptr<FileLock>;

// Every operation the tool makes on files, and nothing else: the real disk,
// the planning and journaling views over it and the test disks all stand
// behind this one interface. Every call says how it went in an FsResult.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Lists `path` without "." and "..".
  virtual FsResult list_directory(const std::string& path,
                                  std::vector<DirectoryEntry>& entries) = 0;

  // Opens the file at `path` (UTF-8) with a standard fopen mode ("rb", "r",
  // "w", "wb", "a", "ab+"; "wbx" creates the file, alreadyExists when there
  // is one) into `file`, which stays empty on failure. Only a regular file
  // opens, told without waiting on a pipe (notRegular otherwise); a file
  // opened to write is never reached through a symbolic link, nor written
  // when it has another name (a hard link), which could lie anywhere.
  // `wholeReads`: the caller reads or writes in blocks of its own, so no
  // stream buffer is kept.
  virtual FsResult open(const std::string& path, const char* mode, FileHandle& file,
                        bool wholeReads = false) = 0;

  // Creates a folder (POSIX: mode 0777 before the umask).
  virtual FsResult make_directory(const std::string& path) = 0;

  // Moves a file; never replaces an existing `to` (alreadyExists).
  virtual FsResult move_file(const std::string& from, const std::string& to) = 0;

  // Removes a folder only when it is empty (alreadyExists when it is not).
  virtual FsResult remove_directory(const std::string& path) = 0;

  // Renames the file `from` to `to`, replacing a file `to`: how a tool file
  // is replaced whole.
  virtual FsResult replace_file(const std::string& from, const std::string& to) = 0;

  // Removes the file `path`.
  virtual FsResult remove_file(const std::string& path) = 0;

  // Puts everything written so far to the file system that holds the folder
  // `path` on the disk, in one call: how many files written together are
  // synced at once. Fails (ENOSYS) where the system cannot; the caller then
  // syncs the files one by one.
  virtual FsResult sync_all(const std::string& path) = 0;

  // Whether entries may be added to and removed from the folder `path`;
  // false when that cannot be told.
  virtual bool allows_changes(const std::string& path) = 0;

  // Takes an exclusive lock on the file `path`, without waiting, creating
  // the file (empty) when it is missing; `held` keeps it. busy: another
  // process holds it. A file created for the lock and still empty when the
  // lock goes is removed again. The system drops the lock of a process that
  // ends, however it ends.
  virtual FsResult lock(const std::string& path, LockHandle& held) = 0;

  // The identity of what `path` names, a link itself rather than what it
  // points to.
  virtual FsResult identify(const std::string& path, FileIdentity& identity) = 0;

  // Whether a file of the tool's may take the place of `path`: nothing is
  // there, or a regular file of one name. notRegular for a link, a pipe, a
  // folder or a file with another name, which the tool neither writes nor
  // replaces.
  virtual FsResult may_replace(const std::string& path) = 0;

  // Makes the folder `name` of the current folder current; `left` marks the
  // folder it was in, for leave_directory. A link is not entered.
  virtual FsResult enter_directory(const std::string& name, DirectoryMark& left) = 0;

  // From a folder entered with enter_directory, makes the folder `left`
  // current again: through "..", else through `path` (absolute; may be
  // empty) when ".." leads elsewhere now. Fails when neither leads there.
  virtual FsResult leave_directory(const DirectoryMark& left, const std::string& path) = 0;

  // Makes `path` the current folder.
  virtual FsResult change_directory(const std::string& path) = 0;

  // Asks the system to start fetching `files`, which the caller will read
  // soon, in this order. Only a hint, so it cannot fail: it returns without
  // waiting for the data, may do nothing, never opens a file to write and
  // never changes what a later open or read finds.
  virtual void read_ahead(const std::vector<ReadAheadFile>& files) = 0;
};

// A FileSystem that hands every call to an inner one: a view over a disk
// derives from it and overrides only the calls it changes.
class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem& inner) : inner_(inner) {}

  FsResult list_directory(const std::string& path, std::vector<DirectoryEntry>& entries) override {
    return inner_.list_directory(path, entries);
  }
  FsResult open(const std::string& path, const char* mode, FileHandle& file,
                bool wholeReads = false) override {
    return inner_.open(path, mode, file, wholeReads);
  }
  FsResult make_directory(const std::string& path) override { return inner_.make_directory(path); }
  FsResult move_file(const std::string& from, const std::string& to) override {
    return inner_.move_file(from, to);
  }
  FsResult remove_directory(const std::string& path) override {
    return inner_.remove_directory(path);
  }
  FsResult replace_file(const std::string& from, const std::string& to) override {
    return inner_.replace_file(from, to);
  }
  FsResult remove_file(const std::string& path) override { return inner_.remove_file(path); }
  FsResult sync_all(const std::string& path) override { return inner_.sync_all(path); }
  bool allows_changes(const std::string& path) override { return inner_.allows_changes(path); }
  FsResult lock(const std::string& path, LockHandle& held) override {
    return inner_.lock(path, held);
  }
  void read_ahead(const std::vector<ReadAheadFile>& files) override { inner_.read_ahead(files); }
  FsResult identify(const std::string& path, FileIdentity& identity) override {
    return inner_.identify(path, identity);
  }
  FsResult may_replace(const std::string& path) override { return inner_.may_replace(path); }
  FsResult enter_directory(const std::string& name, DirectoryMark& left) override {
    return inner_.enter_directory(name, left);
  }
  FsResult leave_directory(const DirectoryMark& left, const std::string& path) override {
    return inner_.leave_directory(left, path);
  }
  FsResult change_directory(const std::string& path) override {
    return inner_.change_directory(path);
  }

 protected:
  FileSystem& inner() { return inner_; }

 private:
  FileSystem& inner_;
};

// The disk of the machine the tool runs on.
class SystemFileSystem final : public FileSystem {
 public:
  FsResult list_directory(const std::string& path, std::vector<DirectoryEntry>& entries) override;
  FsResult open(const std::string& path, const char* mode, FileHandle& file,
                bool wholeReads = false) override;
  FsResult make_directory(const std::string& path) override;
  FsResult move_file(const std::string& from, const std::string& to) override;
  FsResult remove_directory(const std::string& path) override;
  FsResult replace_file(const std::string& from, const std::string& to) override;
  FsResult remove_file(const std::string& path) override;
  FsResult sync_all(const std::string& path) override;
  bool allows_changes(const std::string& path) override;
  FsResult lock(const std::string& path, LockHandle& held) override;
  // Where the system can tell, skipped when the first of `files` is in its
  // cache already: the data of a warm folder need no fetching.
  void read_ahead(const std::vector<ReadAheadFile>& files) override;
  FsResult identify(const std::string& path, FileIdentity& identity) override;
  FsResult may_replace(const std::string& path) override;
  FsResult enter_directory(const std::string& name, DirectoryMark& left) override;
  FsResult leave_directory(const DirectoryMark& left, const std::string& path) override;
  FsResult change_directory(const std::string& path) override;
};

// For tests and benchmarks: with false, the real disk ignores read-ahead
// hints and reads each file only when it is asked for.
void enable_read_ahead(bool enabled);

// The file system in use: the real one unless a test installed another.
FileSystem& file_system();

// Installs `replacement` (nullptr: the real one again). The caller keeps it alive.
void use_file_system(FileSystem* replacement);

// The current directory, or an empty text when it cannot be read.
std::string current_directory();

// The directory of the running executable, ending with one separator; empty
// when it cannot be found.
std::string executable_directory();

// The fall-back directory for the tool's own files (Windows: C:\; POSIX:
// $HOME), ending with one separator; empty when there is none.
std::string fallback_directory();

// What the error number `error` means, as the system words it.
std::string error_text(int error);

// `directory` + a separator unless it already ends in one + `name`.
std::string join_path(const std::string& directory, const std::string& name);

// The folder part of `path` ("" for a bare name) and its last name.
std::string parent_of(const std::string& path);
std::string leaf_of(const std::string& path);

// Makes the console show the tool's UTF-8 output as text (Windows; nothing
// to do on POSIX). Call once, first thing.
void prepare_console();
