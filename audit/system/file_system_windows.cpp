// The system layer on Windows. Paths are UTF-8 everywhere else in the tool;
// they become UTF-16 here, at the system calls, so names with any Unicode
// character work, and long ones get the "\\?\" prefix.

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "system/file_system.h"
#include "system/read_ahead.h"
#include "system/stdio_file.h"
#include "system/windows_text.h"

namespace {

// The C library's error number closest to a system error, so that every
// failure carries its reason in one kind of number on both systems.
int errno_of(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
      return ENOENT;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return EEXIST;
    case ERROR_DIR_NOT_EMPTY:
      return ENOTEMPTY;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return EACCES;
    case ERROR_LOCK_VIOLATION:
      return EWOULDBLOCK;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_NOT_SAME_DEVICE:
      return EXDEV;
    default:
      return EIO;
  }
}

FsResult result_of_error(DWORD error, const std::string& path) {
  FsStatus status = FsStatus::failed;
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) status = FsStatus::alreadyExists;
  if (error == ERROR_ACCESS_DENIED) status = FsStatus::accessDenied;
  return fs_failure(status, errno_of(error), path);
}

// The failure of the system call that just failed, about `path`.
FsResult failed_call(const std::string& path) {
  return result_of_error(GetLastError(), path);
}

struct FindCloser {
  void operator()(HANDLE handle) const { FindClose(handle); }
};

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};

using FindHandle = std::unique_ptr<void, FindCloser>;
using FileHandle = std::unique_ptr<void, HandleCloser>;

FileHandle open_for_information(const std::wstring& path) {
  // FILE_FLAG_BACKUP_SEMANTICS lets a directory be opened too.
  HANDLE handle = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  return FileHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// The length of the file a link points to; 0 when it cannot be read.
std::uint64_t linked_file_size(const std::wstring& path) {
  const FileHandle file = open_for_information(path);
  LARGE_INTEGER size;
  if (!file || !GetFileSizeEx(file.get(), &size)) return 0;
  return static_cast<std::uint64_t>(size.QuadPart);
}

DirectoryEntry entry_of(const std::wstring& directory, const WIN32_FIND_DATAW& found) {
  DirectoryEntry entry;
  entry.name = utf8_of(found.cFileName);
  const DWORD attributes = found.dwFileAttributes;
  const bool isLink = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  entry.isDirectory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !isLink;
  entry.isLink = isLink;
  entry.isHidden = (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
  if (isLink && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    entry.size = linked_file_size(directory + L'\\' + found.cFileName);
  } else {
    entry.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  }
  return entry;
}

}  // namespace

FsResult SystemFileSystem::list_directory(const std::string& path,
                                          std::vector<DirectoryEntry>& entries) {
  std::wstring directory = system_path(path);
  if (!directory.empty() && directory.back() == L'\\') directory.pop_back();  // "C:\\"
  WIN32_FIND_DATAW found;
  const HANDLE first = FindFirstFileExW((directory + L"\\*").c_str(), FindExInfoBasic, &found,
                                        FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (first == INVALID_HANDLE_VALUE) return failed_call(path);
  const FindHandle search(first);
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back(entry_of(directory, found));
  } while (FindNextFileW(search.get(), &found));
  if (GetLastError() == ERROR_NO_MORE_FILES) return {};
  return failed_call(path);
}

FsResult SystemFileSystem::make_directory(const std::string& path) {
  if (!CreateDirectoryW(system_path(path).c_str(), nullptr)) return failed_call(path);
  return {};
}

FsResult SystemFileSystem::move_file(const std::string& from, const std::string& to) {
  // Without MOVEFILE_REPLACE_EXISTING the system itself refuses to replace
  // `to`, with no window between a test and the move; without
  // MOVEFILE_COPY_ALLOWED a move never turns into a copy that could be left
  // half-done.
  settle_read_ahead(from);
  if (!MoveFileExW(system_path(from).c_str(), system_path(to).c_str(), 0)) {
    const DWORD error = GetLastError();
    const bool taken = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
    return result_of_error(error, taken ? to : from);
  }
  return {};
}

FsResult SystemFileSystem::remove_directory(const std::string& path) {
  if (RemoveDirectoryW(system_path(path).c_str())) return {};
  const DWORD error = GetLastError();
  if (error == ERROR_DIR_NOT_EMPTY) return fs_failure(FsStatus::alreadyExists, ENOTEMPTY, path);
  return result_of_error(error, path);
}

bool SystemFileSystem::allows_changes(const std::string& path) {
  // Windows tells a folder's rights only when a change is tried: a folder
  // that exists is taken to allow them.
  const DWORD attributes = GetFileAttributesW(system_path(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string current_directory() {
  const DWORD length = GetCurrentDirectoryW(0, nullptr);
  if (length == 0) return std::string();
  std::wstring path(length, L'\0');
  const DWORD written = GetCurrentDirectoryW(length, path.data());
  if (written == 0 || written >= length) return std::string();
  path.resize(written);
  return utf8_of(path);
}

FsResult SystemFileSystem::change_directory(const std::string& path) {
  settle_all_read_ahead();
  if (SetCurrentDirectoryW(system_path(path).c_str()) != 0) return {};
  return failed_call(path);
}

namespace {

FileIdentity identity_of(const BY_HANDLE_FILE_INFORMATION& information) {
  return {
      information.dwVolumeSerialNumber,
      (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

// The identity of what `path` names, a link itself (a reparse point is not
// followed).
bool identify_path(const std::wstring& path, FileIdentity& identity) {
  HANDLE handle = CreateFileW(
      path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const FileHandle file(handle);
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(file.get(), &information)) return false;
  identity = identity_of(information);
  return true;
}

bool current_directory_is(const DirectoryMark& mark) {
  FileIdentity identity;
  return identify_path(L".", identity) && identity == mark;
}

}  // namespace

FsResult SystemFileSystem::identify(const std::string& path, FileIdentity& identity) {
  if (!identify_path(system_path(path), identity)) return failed_call(path);
  return {};
}

FsResult SystemFileSystem::may_replace(const std::string& path) {
  const std::wstring wide_path = system_path(path);
  const DWORD attributes = GetFileAttributesW(wide_path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {};
    return result_of_error(error, path);
  }
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
    return fs_failure(FsStatus::notRegular, ELOOP, path);
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return fs_failure(FsStatus::notRegular, EISDIR, path);
  const auto file = open_for_information(wide_path);
  BY_HANDLE_FILE_INFORMATION information;
  if (file && GetFileInformationByHandle(file.get(), &information) &&
      information.nNumberOfLinks > 1)
    return fs_failure(FsStatus::notRegular, EMLINK, path);
  return {};
}

FsResult SystemFileSystem::enter_directory(const std::string& name, DirectoryMark& left) {
  settle_all_read_ahead();
  if (!identify_path(L".", left)) return failed_call(".");
  const DWORD attributes = GetFileAttributesW(system_path(name).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
    return fs_failure(FsStatus::notRegular, ELOOP, name);
  if (SetCurrentDirectoryW(system_path(name).c_str()) != 0) return {};
  return failed_call(name);
}

FsResult SystemFileSystem::leave_directory(const DirectoryMark& left, const std::string& path) {
  settle_all_read_ahead();
  if (SetCurrentDirectoryW(L"..") && current_directory_is(left)) return {};
  if (!path.empty() && SetCurrentDirectoryW(system_path(path).c_str()) &&
      current_directory_is(left))
    return {};
  return fs_failure(FsStatus::failed, ENOENT, path.empty() ? std::string("..") : path);
}

std::string executable_directory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::string();
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // cut short: try again with more room
  }
  const std::size_t last_separator = path.find_last_of(L"\\/");
  if (last_separator == std::wstring::npos) return utf8_of(path) + PATH_SEPARATOR;
  path.resize(last_separator + 1);
  return utf8_of(path);
}

std::string fallback_directory() {
  return "C:\\";
}

namespace {

// The mode that opens a file to write without cutting it: "w" becomes "r+"
// (the file is made first when it is missing).
std::string without_truncation(const char* mode) {
  if (mode[0] != 'w') return mode;
  return std::string("r+") + (std::strchr(mode, 'b') != nullptr ? "b" : "");
}

// Creates the file at `path` that must not exist yet (CREATE_NEW), as a C
// stream to write.
FsResult create_new_file(const std::string& path, const std::wstring& wide_path, const char* mode,
                         std::FILE*& file) {
  const HANDLE handle = CreateFileW(wide_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return failed_call(path);
  const bool text = std::strchr(mode, 'b') == nullptr;
  const int descriptor =
      _open_osfhandle(reinterpret_cast<intptr_t>(handle), text ? _O_TEXT : _O_BINARY);
  if (descriptor < 0) {
    CloseHandle(handle);
    return fs_failure(FsStatus::failed, EIO, path);
  }
  file = _fdopen(descriptor, text ? "w" : "wb");
  if (file != nullptr) return {};
  _close(descriptor);
  return fs_failure(FsStatus::failed, EIO, path);
}

}  // namespace

FsResult open_regular_file(const std::string& path, const char* mode, std::FILE*& file) {
  settle_read_ahead(path);
  const std::wstring wide_path = system_path(path);
  const DWORD attributes = GetFileAttributesW(wide_path.c_str());
  const bool writes = mode[0] != 'r' || std::strchr(mode, '+') != nullptr;
  // A link where the tool writes is refused, not followed.
  if (writes && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    return fs_failure(FsStatus::notRegular, ELOOP, path);
  }
  // A folder is no file, as the POSIX layer answers: refused to read, failed to write.
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return fs_failure(writes ? FsStatus::failed : FsStatus::notRegular, EISDIR, path);
  }
  if (std::strchr(mode, 'x') != nullptr) return create_new_file(path, wide_path, mode, file);
  file = _wfopen(wide_path.c_str(), wide_of(writes ? without_truncation(mode) : mode).c_str());
  if (file == nullptr && mode[0] == 'w' && errno == ENOENT) {
    file = _wfopen(wide_path.c_str(), wide_of(mode).c_str());  // a new file: nothing to cut
  }
  if (file == nullptr) return fs_failure_of_errno(path);
  if (!writes) return {};
  // A file with another name is not written; one to be written afresh is cut
  // only after it was found to be ours.
  BY_HANDLE_FILE_INFORMATION information;
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  if (GetFileInformationByHandle(handle, &information) && information.nNumberOfLinks > 1) {
    std::fclose(file);
    file = nullptr;
    return fs_failure(FsStatus::notRegular, EMLINK, path);
  }
  if (mode[0] == 'w' && _chsize_s(_fileno(file), 0) != 0) {
    const FsResult failure = fs_failure_of_errno(path);
    std::fclose(file);
    file = nullptr;
    return failure;
  }
  return {};
}

bool truncate_file(std::FILE* file, std::int64_t size) {
  return _chsize_s(_fileno(file), size) == 0;
}

bool seek_file(std::FILE* file, std::int64_t offset, int whence) {
  return _fseeki64(file, offset, whence) == 0;
}

std::int64_t tell_file(std::FILE* file) {
  return _ftelli64(file);
}

bool sync_file(std::FILE* file) {
  return std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
}

FsResult SystemFileSystem::replace_file(const std::string& from, const std::string& to) {
  settle_read_ahead(from);
  settle_read_ahead(to);
  if (MoveFileExW(system_path(from).c_str(), system_path(to).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
    return {};
  }
  return failed_call(to);
}

FsResult SystemFileSystem::sync_all(const std::string& path) {
  // Flushing a whole volume needs rights a user seldom has: file by file.
  return fs_failure(FsStatus::failed, ENOSYS, path);
}

FsResult SystemFileSystem::remove_file(const std::string& path) {
  settle_read_ahead(path);
  if (DeleteFileW(system_path(path).c_str()) != 0) return {};
  return failed_call(path);
}

namespace {

// A byte far past the end of any journal: Windows locks are mandatory for
// the bytes they cover, so the lock must cover none that is read or written.
constexpr DWORD LOCK_OFFSET_HIGH = 0x7FFFFFFF;

OVERLAPPED lock_position() {
  OVERLAPPED position = {};
  position.Offset = 0;
  position.OffsetHigh = LOCK_OFFSET_HIGH;
  return position;
}

constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Marks the file at `path` for removal, through a handle opened for that
// alone: a handle of the lock with delete access would keep the C library,
// which never shares deletion, from opening the journal.
void remove_file_at(const std::wstring& path) {
  const HANDLE doomed = CreateFileW(path.c_str(), DELETE, SHARE_ALL, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (doomed == INVALID_HANDLE_VALUE) return;
  FILE_DISPOSITION_INFO disposition = {TRUE};
  SetFileInformationByHandle(doomed, FileDispositionInfo, &disposition, sizeof disposition);
  CloseHandle(doomed);
}

// A lock held on an open handle; closing the handle lets the lock go.
class HandleLock final : public FileLock {
 public:
  HandleLock(HANDLE handle, std::wstring path, bool created)
      : handle_(handle), path_(std::move(path)), created_(created) {}
  ~HandleLock() override {
    LARGE_INTEGER size;
    // Removed while still held, so that no other run can have taken it.
    if (created_ && GetFileSizeEx(handle_, &size) && size.QuadPart == 0) remove_file_at(path_);
    OVERLAPPED position = lock_position();
    UnlockFileEx(handle_, 0, 1, 0, &position);
    CloseHandle(handle_);
  }

 private:
  HANDLE handle_;
  std::wstring path_;
  bool created_;
};

HANDLE open_for_lock(const std::wstring& path, bool& created) {
  const DWORD share = SHARE_ALL;
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  created = handle != INVALID_HANDLE_VALUE && GetLastError() != ERROR_ALREADY_EXISTS;
  if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED) {
    handle = CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  return handle;
}

}  // namespace

FsResult SystemFileSystem::lock(const std::string& path, LockHandle& held) {
  bool created = false;
  const std::wstring wide_path = system_path(path);
  const HANDLE handle = open_for_lock(wide_path, created);
  if (handle == INVALID_HANDLE_VALUE)
    return fs_failure(FsStatus::failed, errno_of(GetLastError()), path);
  OVERLAPPED position = lock_position();
  if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                  &position)) {
    const DWORD error = GetLastError();
    CloseHandle(handle);
    const bool busy = error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING;
    return fs_failure(busy ? FsStatus::busy : FsStatus::failed, errno_of(error), path);
  }
  held = std::make_unique<HandleLock>(handle, wide_path, created);
  return {};
}

namespace {

UINT previous_output_code_page = 0;

void restore_console() {
  SetConsoleOutputCP(previous_output_code_page);
}

}  // namespace

void prepare_console() {
  // Names are UTF-8 inside the tool; the console shows them as such. The
  // console keeps its own code page after the run.
  previous_output_code_page = GetConsoleOutputCP();
  if (previous_output_code_page == 0 || previous_output_code_page == CP_UTF8) return;
  if (SetConsoleOutputCP(CP_UTF8)) std::atexit(restore_console);
}
