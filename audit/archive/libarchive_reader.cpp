// Reading through libarchive: 7z archives, and ZIP members whose method the
// own reader lacks. Data are read in blocks straight into the caller's
// buffer; one byte more than the limit is asked for, so a member larger than
// it is refused without its excess being held anywhere.

#include "archive/libarchive_reader.h"

#include <archive.h>
#include <archive_entry.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "archive/member_checks.h"
#include "system/file_system.h"
#include "zip/zip_messages.h"

namespace {

// A 7z member may sit in a solid block behind others that must be unpacked
// first; behind more than this (as the archive claims it), it is refused
// rather than unpacked at length.
constexpr std::uint64_t MOST_UNPACKED_BEFORE = 64 * 1024 * 1024;

// The file libarchive reads, through the file-system seam, and the block its
// reads are served from.
struct ArchiveSource {
  FileHandle file;
  unsigned char block[16 * 1024];
};

la_ssize_t read_source(archive*, void* data, const void** buffer) {
  auto* source = static_cast<ArchiveSource*>(data);
  *buffer = source->block;
  const std::size_t got = source->file->read(source->block, sizeof source->block);
  return !source->file->failure().ok() ? -1 : static_cast<la_ssize_t>(got);
}

la_int64_t seek_source(archive*, void* data, la_int64_t offset, int whence) {
  auto* source = static_cast<ArchiveSource*>(data);
  if (!source->file->seek(offset, whence).ok()) return ARCHIVE_FATAL;
  return source->file->tell();
}

// An archive handle with the source it reads; the handle goes first.
struct ArchiveHandle {
  std::unique_ptr<ArchiveSource> source;
  std::unique_ptr<archive, decltype(&archive_read_free)> reading{nullptr, &archive_read_free};

  archive* get() const { return reading.get(); }
  bool operator==(std::nullptr_t) const { return reading == nullptr; }
};

// Reports libarchive's last failure with its reason, in the family its
// reason belongs to: the disk, encryption, something libarchive does not
// support, or damage.
void report_failure(ZipLog& log, const char* path, const ArchiveHandle& handle) {
  if (const FsResult failure = handle.source->file->failure(); !failure.ok()) {
    return zip_report_read_failure(log, path, failure);
  }
  const char* reason = archive_error_string(handle.get());
  if (reason == nullptr) reason = "no reason given";
  ZipError error = ZipError::decoding;
  if (std::strstr(reason, "ncrypt") != nullptr) {
    error = ZipError::encrypted;
  } else if (std::strstr(reason, "support") != nullptr) {
    error = ZipError::decodingUnsupported;
  }
  zip_report_cause(log, error, path, reason);
}

ArchiveHandle open_handle(const char* path, ArchiveFormat format, ZipLog& log) {
  ArchiveHandle handle;
  FileHandle file;
  if (!file_system().open(path, "rb", file, true).ok()) {
    zip_report(log, ZipError::openingFile, path);
    return handle;
  }
  handle.source = std::make_unique<ArchiveSource>();
  handle.source->file = std::move(file);
  handle.reading.reset(archive_read_new());
  if (handle == nullptr) return handle;
  if (format == ArchiveFormat::sevenZip) {
    archive_read_support_format_7zip(handle.get());
  } else {
    archive_read_support_format_zip(handle.get());
  }
  archive_read_set_callback_data(handle.get(), handle.source.get());
  archive_read_set_read_callback(handle.get(), read_source);
  archive_read_set_seek_callback(handle.get(), seek_source);
  if (archive_read_open1(handle.get()) != ARCHIVE_OK) {
    report_failure(log, path, handle);
    handle.reading.reset();
  }
  return handle;
}

class LibarchiveReader final : public ArchiveReader {
 public:
  LibarchiveReader(const char* path, ZipLog& log, ArchiveHandle handle, bool solid)
      : path_(path), log_(log), handle_(std::move(handle)), solid_(solid) {}

  const ArchiveMember* next_member() override {
    if (ended_) return nullptr;
    // Counted only up to just past the limit, so that huge claims cannot wrap.
    unpackedBefore_ += std::min(member_.size, MOST_UNPACKED_BEFORE + 1 - unpackedBefore_);
    archive_entry* entry = nullptr;
    const int result = archive_read_next_header(handle_.get(), &entry);
    if (result == ARCHIVE_EOF) return end();
    if (result < ARCHIVE_WARN) {
      report_failure(log_, path_.c_str(), handle_);
      failed_ = true;
      return end();
    }
    const char* name = archive_entry_pathname(entry);
    member_.name = name != nullptr ? name : "";
    member_.size = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : 0;
    member_.crcKnown = false;
    encrypted_ = archive_entry_is_encrypted(entry) != 0;
    return &member_;
  }

  bool listing_failed() const override { return failed_; }

  bool read_member(unsigned char* destination, std::size_t limit, std::size_t& size,
                   std::uint32_t& crc) override {
    return read_checked(member_, destination, limit, size, crc);
  }

  // Reads the current member's data and checks them against `claimed`.
  bool read_checked(const ArchiveMember& claimed, unsigned char* destination, std::size_t limit,
                    std::size_t& size, std::uint32_t& crc) {
    if (encrypted_) {
      zip_report_cause(log_, ZipError::encrypted, path_.c_str(), claimed.name.c_str());
      return false;
    }
    if (solid_ && unpackedBefore_ > MOST_UNPACKED_BEFORE) {
      zip_report_cause(log_, ZipError::tooMuchBefore, path_.c_str(), claimed.name.c_str());
      return false;
    }
    if (!read_data(claimed, destination, limit, size)) return false;
    crc = static_cast<std::uint32_t>(crc32(0L, destination, static_cast<uInt>(size)));
    return member_data_agree(log_, path_.c_str(), claimed, size, crc);
  }

 private:
  const ArchiveMember* end() {
    ended_ = true;
    return nullptr;
  }

  bool read_data(const ArchiveMember& claimed, unsigned char* destination, std::size_t limit,
                 std::size_t& size) {
    size = 0;
    for (;;) {
      unsigned char probe = 0;
      const bool full = size == limit;
      const la_ssize_t got = archive_read_data(handle_.get(), full ? &probe : destination + size,
                                               full ? 1 : limit - size);
      if (got < 0) {
        report_failure(log_, path_.c_str(), handle_);
        return false;
      }
      if (got == 0) return true;
      if (full) {
        zip_report_cause(log_, ZipError::memberTooLarge, path_.c_str(), claimed.name.c_str());
        return false;
      }
      size += static_cast<std::size_t>(got);
    }
  }

  std::string path_;
  ZipLog& log_;
  ArchiveHandle handle_;
  ArchiveMember member_;
  bool encrypted_ = false;
  bool ended_ = false;
  bool failed_ = false;
  bool solid_;                        // 7z: members before this one may need unpacking
  std::uint64_t unpackedBefore_ = 0;  // claimed sizes of the members passed
};

}  // namespace

std::unique_ptr<ArchiveReader> open_seven_zip(const char* path, ZipLog& log) {
  ArchiveHandle handle = open_handle(path, ArchiveFormat::sevenZip, log);
  if (handle == nullptr) return nullptr;
  return std::make_unique<LibarchiveReader>(path, log, std::move(handle), true);
}

bool read_zip_member_through_libarchive(const char* path, ZipLog& log, const ArchiveMember& claimed,
                                        unsigned char* destination, std::size_t limit,
                                        std::size_t& size, std::uint32_t& crc) {
  ArchiveHandle handle = open_handle(path, ArchiveFormat::zip, log);
  if (handle == nullptr) return false;
  LibarchiveReader reader(path, log, std::move(handle), false);
  while (const ArchiveMember* member = reader.next_member()) {
    if (member->name == claimed.name) {
      return reader.read_checked(claimed, destination, limit, size, crc);
    }
  }
  zip_report_cause(log, ZipError::decoding, path, claimed.name.c_str());
  return false;
}

bool libarchive_available() {
  return true;
}
