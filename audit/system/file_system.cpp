// The parts of the system layer that are the same on every platform.

#include "system/file_system.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "system/read_ahead.h"
#include "system/stdio_file.h"

namespace {

// A FileStream over a C stream: buffered for text, unbuffered for callers
// that read whole blocks of their own.
class StdioStream final : public FileStream {
 public:
  StdioStream(std::FILE* file, const std::string& path, bool wholeReads)
      : file_(file), path_(path) {
    if (wholeReads) std::setvbuf(file_, nullptr, _IONBF, 0);
  }
  // A caller that wants the outcome closes first; later calls do nothing.
  ~StdioStream() override { (void)close(); }

  std::size_t read(void* buffer, std::size_t count) override {
    errno = 0;
    const std::size_t got = std::fread(buffer, 1, count, file_);
    if (got < count && std::ferror(file_) != 0) (void)remember(false);  // failure() tells
    return got;
  }
  FsResult seek(std::int64_t offset, int whence) override {
    errno = 0;
    if (seek_file(file_, offset, whence)) return {};
    // A position the file cannot have is the caller's mistake, not the disk's.
    if (errno == EINVAL) return fs_failure(FsStatus::failed, EINVAL, path_);
    return remember(false);
  }
  std::int64_t tell() override { return tell_file(file_); }
  FsResult write(const void* data, std::size_t count) override {
    errno = 0;
    return remember(std::fwrite(data, 1, count, file_) == count);
  }
  FsResult failure() const override { return failure_; }
  FsResult truncate(std::int64_t size) override {
    errno = 0;
    return remember(std::fflush(file_) == 0 && truncate_file(file_, size));
  }
  FsResult flush() override {
    errno = 0;
    return remember(std::fflush(file_) == 0);
  }
  FsResult sync() override {
    errno = 0;
    return remember(sync_file(file_));
  }
  FsResult close() override {
    if (file_ == nullptr) return failure_;
    errno = 0;
    const bool unread_error = std::ferror(file_) != 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return remember(closed && !unread_error);
  }

 private:
  // Keeps the first failure; a failure that left no error number counts as
  // an I/O error. Answers with the first failure, or success.
  FsResult remember(bool ok) {
    if (!ok && failure_.ok())
      failure_ = fs_failure(FsStatus::failed, errno != 0 ? errno : EIO, path_);
    return ok ? FsResult{} : failure_;
  }

  std::FILE* file_;
  std::string path_;
  FsResult failure_;
};

class MemoryStream final : public FileStream {
 public:
  explicit MemoryStream(std::string_view bytes) : bytes_(bytes) {}
  std::size_t read(void* buffer, std::size_t count) override {
    const std::size_t got =
        position_ < bytes_.size() ? std::min(count, bytes_.size() - position_) : 0;
    if (got > 0) std::memcpy(buffer, bytes_.data() + position_, got);
    position_ += got;
    return got;
  }
  FsResult seek(std::int64_t offset, int whence) override {
    const std::int64_t base = whence == SEEK_SET   ? 0
                              : whence == SEEK_CUR ? static_cast<std::int64_t>(position_)
                                                   : static_cast<std::int64_t>(bytes_.size());
    if (base + offset < 0) return fs_failure(FsStatus::failed, EINVAL, std::string());
    position_ = static_cast<std::size_t>(base + offset);
    return {};
  }
  std::int64_t tell() override { return static_cast<std::int64_t>(position_); }
  FsResult write(const void*, std::size_t) override {
    return fs_failure(FsStatus::accessDenied, EBADF, std::string());
  }
  FsResult flush() override { return {}; }
  FsResult sync() override { return {}; }
  FsResult truncate(std::int64_t) override {
    return fs_failure(FsStatus::accessDenied, EBADF, std::string());
  }
  FsResult failure() const override { return {}; }
  FsResult close() override { return {}; }

 private:
  std::string_view bytes_;
  std::size_t position_ = 0;
};

class CollectingStream final : public FileStream {
 public:
  explicit CollectingStream(std::string* kept) : kept_(kept) {}
  std::size_t read(void*, std::size_t) override { return 0; }
  FsResult seek(std::int64_t, int) override { return {}; }
  std::int64_t tell() override {
    return kept_ != nullptr ? static_cast<std::int64_t>(kept_->size()) : 0;
  }
  FsResult write(const void* data, std::size_t count) override {
    if (kept_ != nullptr) kept_->append(static_cast<const char*>(data), count);
    return {};
  }
  FsResult flush() override { return {}; }
  FsResult sync() override { return {}; }
  FsResult failure() const override { return {}; }
  FsResult truncate(std::int64_t size) override {
    if (kept_ != nullptr && size >= 0 && static_cast<std::size_t>(size) < kept_->size())
      kept_->resize(static_cast<std::size_t>(size));
    return {};
  }
  FsResult close() override { return {}; }

 private:
  std::string* kept_;
};

SystemFileSystem real_file_system;
FileSystem* installed_file_system = nullptr;
bool read_ahead_enabled = true;

}  // namespace

FsResult SystemFileSystem::open(const std::string& path, const char* mode, FileHandle& file,
                                bool wholeReads) {
  file.reset();
  std::FILE* stream = nullptr;
  if (const FsResult opened = open_regular_file(path, mode, stream); !opened.ok()) return opened;
  file = std::make_unique<StdioStream>(stream, path, wholeReads);
  return {};
}

void SystemFileSystem::read_ahead(const std::vector<ReadAheadFile>& files) {
  if (read_ahead_enabled) start_read_ahead(files);
}

void enable_read_ahead(bool enabled) {
  read_ahead_enabled = enabled;
  if (!enabled) settle_all_read_ahead();
}

FileHandle open_memory(std::string_view bytes) {
  return std::make_unique<MemoryStream>(bytes);
}

FileHandle open_collecting(std::string* kept) {
  return std::make_unique<CollectingStream>(kept);
}

FsResult write_text(FileStream& file, std::string_view text) {
  return file.write(text.data(), text.size());
}

FsResult print_to(FileStream& file, const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  FsResult written = vprint_to(file, format, arguments);
  va_end(arguments);
  return written;
}

FsResult vprint_to(FileStream& file, const char* format, std::va_list arguments) {
  char small[512];
  std::va_list again;
  va_copy(again, arguments);
  const int length = std::vsnprintf(small, sizeof small, format, arguments);
  FsResult written = fs_failure(FsStatus::failed, EINVAL, std::string());
  if (length >= 0 && static_cast<std::size_t>(length) < sizeof small) {
    written = file.write(small, static_cast<std::size_t>(length));
  } else if (length >= 0) {
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, again);
    written = file.write(text.data(), static_cast<std::size_t>(length));
  }
  va_end(again);
  return written;
}

FileSystem& file_system() {
  return installed_file_system != nullptr ? *installed_file_system : real_file_system;
}

void use_file_system(FileSystem* replacement) {
  installed_file_system = replacement;
}

std::string error_text(int error) {
  return std::strerror(error);
}

FsResult fs_failure(FsStatus status, int error, const std::string& path) {
  return FsResult{status, error, path};
}

FsResult fs_failure_of_errno(const std::string& path) {
  const int error = errno != 0 ? errno : EIO;
  switch (error) {
    case EEXIST:
    case ENOTEMPTY:
      return fs_failure(FsStatus::alreadyExists, error, path);
    case EACCES:
    case EPERM:
      return fs_failure(FsStatus::accessDenied, error, path);
    default:
      return fs_failure(FsStatus::failed, error, path);
  }
}

FsResult fs_already_exists(const std::string& path) {
  return fs_failure(FsStatus::alreadyExists, EEXIST, path);
}

FsResult fs_access_denied(const std::string& path) {
  return fs_failure(FsStatus::accessDenied, EACCES, path);
}

FsResult fs_missing(const std::string& path) {
  return fs_failure(FsStatus::failed, ENOENT, path);
}

FsResult fs_io_failure(const std::string& path) {
  return fs_failure(FsStatus::failed, EIO, path);
}

FsResult fs_refused(const std::string& path) {
  return fs_failure(FsStatus::refused, 0, path);
}

bool FsResult::missing() const {
  return !ok() && error == ENOENT;
}

bool FsResult::unsupported() const {
  return !ok() && error == ENOSYS;
}

bool FsResult::denied() const {
  return !ok() && (error == EACCES || error == EPERM || error == EROFS);
}

std::string FsResult::reason() const {
  if (status == FsStatus::notRegular) {
    if (error == ELOOP) return "it is a symbolic link";
    if (error == EMLINK) return "it has another name, a hard link";
    return "it is not a regular file";
  }
  return error_text(error != 0 ? error : EIO);
}

std::string parent_of(const std::string& path) {
  const std::size_t last = path.rfind(PATH_SEPARATOR);
  return last == std::string::npos ? std::string() : path.substr(0, last);
}

std::string leaf_of(const std::string& path) {
  const std::size_t last = path.rfind(PATH_SEPARATOR);
  return last == std::string::npos ? path : path.substr(last + 1);
}

std::string join_path(const std::string& directory, const std::string& name) {
  if (directory.empty() || directory.back() == PATH_SEPARATOR) return directory + name;
  return directory + PATH_SEPARATOR + name;
}
