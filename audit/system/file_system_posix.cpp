// The system layer on POSIX systems.

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "system/file_system.h"
#include "system/stdio_file.h"

namespace {

// Used where the file system refuses both the no-replace rename and hard
// links: test, then rename. Only this last resort leaves a window in which
// another process could create the target.
FsResult test_and_rename(const std::string& from, const std::string& to) {
  struct stat target;
  if (lstat(to.c_str(), &target) == 0) return fs_already_exists(to);
  if (std::rename(from.c_str(), to.c_str()) != 0) return fs_failure_of_errno(from);
  return {};
}

FsResult link_and_unlink(const std::string& from, const std::string& to) {
  if (link(from.c_str(), to.c_str()) != 0) {
    const int error = errno;
    if (error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK) {
      return test_and_rename(from, to);
    }
    return fs_failure_of_errno(error == EEXIST ? to : from);
  }
  if (unlink(from.c_str()) != 0) {
    const FsResult failure = fs_failure_of_errno(from);
    unlink(to.c_str());  // keep exactly one name for the file
    return failure;
  }
  return {};
}

}  // namespace

FsResult SystemFileSystem::list_directory(const std::string& path,
                                          std::vector<DirectoryEntry>& entries) {
  std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(path.c_str()), closedir);
  if (!directory) return fs_failure_of_errno(path);
  const int directory_fd = dirfd(directory.get());
  while (const dirent* item = readdir(directory.get())) {
    const std::string name = item->d_name;
    if (name == "." || name == "..") continue;
    DirectoryEntry entry;
    entry.name = name;
    entry.isHidden = name[0] == '.';
    struct stat info;
    if (fstatat(directory_fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
      entry.isDirectory = S_ISDIR(info.st_mode);
      entry.isLink = S_ISLNK(info.st_mode);
      entry.isSpecial = !S_ISREG(info.st_mode) && !entry.isDirectory && !entry.isLink;
      if (S_ISLNK(info.st_mode) && fstatat(directory_fd, name.c_str(), &info, 0) != 0) {
        info.st_size = 0;  // a dangling link
      }
      entry.size = static_cast<std::uint64_t>(info.st_size);
    }
    entries.push_back(std::move(entry));
  }
  return {};
}

FsResult SystemFileSystem::make_directory(const std::string& path) {
  if (mkdir(path.c_str(), 0777) != 0) return fs_failure_of_errno(path);
  return {};
}

FsResult SystemFileSystem::move_file(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
  const int error = errno;
  if (error == EINVAL || error == ENOSYS || error == EOPNOTSUPP) return link_and_unlink(from, to);
  return fs_failure_of_errno(error == EEXIST ? to : from);
}

FsResult SystemFileSystem::remove_directory(const std::string& path) {
  if (rmdir(path.c_str()) != 0) return fs_failure_of_errno(path);
  return {};
}

bool SystemFileSystem::allows_changes(const std::string& path) {
  return access(path.c_str(), W_OK | X_OK) == 0;
}

std::string current_directory() {
  std::unique_ptr<char, void (*)(void*)> path(getcwd(nullptr, 0), std::free);
  return path ? std::string(path.get()) : std::string();
}

FsResult SystemFileSystem::change_directory(const std::string& path) {
  if (chdir(path.c_str()) != 0) return fs_failure_of_errno(path);
  return {};
}

namespace {

FileIdentity identity_of(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

bool current_directory_is(const DirectoryMark& mark) {
  struct stat info;
  return stat(".", &info) == 0 && identity_of(info) == mark;
}

}  // namespace

FsResult SystemFileSystem::identify(const std::string& path, FileIdentity& identity) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return fs_failure_of_errno(path);
  identity = identity_of(info);
  return {};
}

FsResult SystemFileSystem::may_replace(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0)
    return errno == ENOENT ? FsResult{} : fs_failure_of_errno(path);
  if (S_ISLNK(info.st_mode)) return fs_failure(FsStatus::notRegular, ELOOP, path);
  if (!S_ISREG(info.st_mode)) return fs_failure(FsStatus::notRegular, ENXIO, path);
  if (info.st_nlink > 1) return fs_failure(FsStatus::notRegular, EMLINK, path);
  return {};
}

FsResult SystemFileSystem::enter_directory(const std::string& name, DirectoryMark& left) {
  struct stat here;
  if (stat(".", &here) != 0) return fs_failure_of_errno(".");
  left = identity_of(here);
  // The folder is opened without following a link, then entered by its
  // descriptor: a name swapped for a link meanwhile leads nowhere else.
  const int folder = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (folder < 0) return fs_failure_of_errno(name);
  const bool entered = fchdir(folder) == 0;
  const FsResult failure = entered ? FsResult{} : fs_failure_of_errno(name);
  ::close(folder);
  return failure;
}

FsResult SystemFileSystem::leave_directory(const DirectoryMark& left, const std::string& path) {
  // ".." needs no path, so depth does not matter; the identity check catches
  // a subdirectory that was moved meanwhile.
  if (chdir("..") == 0 && current_directory_is(left)) return {};
  if (!path.empty() && chdir(path.c_str()) == 0 && current_directory_is(left)) return {};
  return fs_failure(FsStatus::failed, ENOENT, path.empty() ? std::string("..") : path);
}

std::string executable_directory() {
  std::unique_ptr<char, void (*)(void*)> path(realpath("/proc/self/exe", nullptr), std::free);
  if (!path) return std::string();
  std::string directory = path.get();
  const std::size_t last_separator = directory.rfind(PATH_SEPARATOR);
  if (last_separator == std::string::npos) return directory + PATH_SEPARATOR;
  directory.resize(last_separator + 1);
  return directory;
}

std::string fallback_directory() {
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') return std::string();
  std::string directory = home;
  if (directory.back() != PATH_SEPARATOR) directory += PATH_SEPARATOR;
  return directory;
}

namespace {

bool opens_to_write(const char* mode) {
  return mode[0] != 'r' || std::strchr(mode, '+') != nullptr;
}

// The open(2) flags of an fopen mode, never waiting on a pipe.
int open_flags(const char* mode) {
  int flags = std::strchr(mode, '+') != nullptr ? O_RDWR : mode[0] == 'r' ? O_RDONLY : O_WRONLY;
  // A file to be written afresh is cut only after it was found to be ours.
  if (mode[0] == 'w') flags |= O_CREAT | (std::strchr(mode, 'x') != nullptr ? O_EXCL : 0);
  if (mode[0] == 'a') flags |= O_CREAT | O_APPEND;
  if (opens_to_write(mode)) flags |= O_NOFOLLOW;
  return flags | O_CLOEXEC | O_NONBLOCK;
}

FsResult refuse_descriptor(int descriptor, int error, const std::string& path) {
  close(descriptor);
  return fs_failure(FsStatus::notRegular, error, path);
}

}  // namespace

FsResult open_regular_file(const std::string& path, const char* mode, std::FILE*& file) {
  file = nullptr;
  const int descriptor = open(path.c_str(), open_flags(mode), 0666);
  if (descriptor < 0) {
    // A link where the tool writes, or a pipe nobody reads, is no file of ours.
    if (errno == ELOOP || errno == ENXIO) return fs_failure(FsStatus::notRegular, errno, path);
    return fs_failure_of_errno(path);
  }
  struct stat info;
  if (fstat(descriptor, &info) != 0) return refuse_descriptor(descriptor, errno, path);
  if (!S_ISREG(info.st_mode)) {
    return refuse_descriptor(descriptor, S_ISDIR(info.st_mode) ? EISDIR : ENXIO, path);
  }
  if (opens_to_write(mode) && info.st_nlink > 1) return refuse_descriptor(descriptor, EMLINK, path);
  if (mode[0] == 'w' && info.st_size > 0 && ftruncate(descriptor, 0) != 0) {
    const FsResult failure = fs_failure_of_errno(path);
    close(descriptor);
    return failure;
  }
  fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  // The C library is told the mode without "x": the file exists by now.
  file = fdopen(descriptor, std::strchr(mode, 'x') != nullptr ? "wb" : mode);
  if (file != nullptr) return {};
  const FsResult failure = fs_failure_of_errno(path);
  close(descriptor);
  return failure;
}

bool truncate_file(std::FILE* file, std::int64_t size) {
  return ftruncate(fileno(file), static_cast<off_t>(size)) == 0;
}

bool seek_file(std::FILE* file, std::int64_t offset, int whence) {
  return fseeko(file, static_cast<off_t>(offset), whence) == 0;
}

std::int64_t tell_file(std::FILE* file) {
  return ftello(file);
}

bool sync_file(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
  return fsync(fileno(file)) == 0;
}

FsResult SystemFileSystem::replace_file(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) != 0) return fs_failure_of_errno(to);
  return {};
}

FsResult SystemFileSystem::remove_file(const std::string& path) {
  if (std::remove(path.c_str()) != 0) return fs_failure_of_errno(path);
  return {};
}

FsResult SystemFileSystem::sync_all(const std::string& path) {
#ifdef __linux__
  const int folder = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return fs_failure_of_errno(path);
  const bool synced = syncfs(folder) == 0;
  const FsResult result = synced ? FsResult{} : fs_failure_of_errno(path);
  ::close(folder);
  return result;
#else
  return fs_failure(FsStatus::failed, ENOSYS, path);
#endif
}

namespace {

// A lock held on an open descriptor; closing it lets the lock go.
class DescriptorLock final : public FileLock {
 public:
  DescriptorLock(int descriptor, std::string path, bool created)
      : descriptor_(descriptor), path_(std::move(path)), created_(created) {}
  ~DescriptorLock() override {
    // Removed while still held, so that no other run can have taken it.
    struct stat info;
    if (created_ && fstat(descriptor_, &info) == 0 && info.st_size == 0) unlink(path_.c_str());
    close(descriptor_);
  }

 private:
  int descriptor_;
  std::string path_;
  bool created_;
};

// Opens `path` for a lock, creating it when it is missing (`created` then
// tells); a file this process may only read is locked as well.
int open_for_lock(const std::string& path, bool& created) {
  created = false;
  // A link in the journal's place is refused, not followed, and nothing waits
  // on a pipe there.
  constexpr int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
  int descriptor = open(path.c_str(), O_RDWR | flags);
  if (descriptor < 0 && errno == ENOENT) {
    descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | flags, 0666);
    created = descriptor >= 0;
  }
  if (descriptor < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
    descriptor = open(path.c_str(), O_RDONLY | flags);
  }
  return descriptor;
}

// Whether `path` still names the file open at `descriptor`: the run that
// held the lock before may have removed it meanwhile.
bool still_named(int descriptor, const std::string& path) {
  struct stat open_file;
  struct stat named_file;
  return fstat(descriptor, &open_file) == 0 && stat(path.c_str(), &named_file) == 0 &&
         open_file.st_dev == named_file.st_dev && open_file.st_ino == named_file.st_ino;
}

}  // namespace

FsResult SystemFileSystem::lock(const std::string& path, LockHandle& held) {
  constexpr int ATTEMPTS = 16;
  for (int attempt = 0; attempt < ATTEMPTS; ++attempt) {
    bool created = false;
    const int descriptor = open_for_lock(path, created);
    if (descriptor < 0) {
      if (errno == EEXIST) continue;  // created by another run just now
      if (errno == ELOOP || errno == ENXIO) return fs_failure(FsStatus::notRegular, errno, path);
      return fs_failure(FsStatus::failed, errno, path);
    }
    struct stat info;
    if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
      close(descriptor);
      return fs_failure(FsStatus::notRegular, ENXIO, path);
    }
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      close(descriptor);
      return fs_failure(error == EWOULDBLOCK ? FsStatus::busy : FsStatus::failed, error, path);
    }
    if (still_named(descriptor, path)) {
      held = std::make_unique<DescriptorLock>(descriptor, path, created);
      return {};
    }
    close(descriptor);
  }
  return fs_failure(FsStatus::failed, EAGAIN, path);
}

void prepare_console() {}
