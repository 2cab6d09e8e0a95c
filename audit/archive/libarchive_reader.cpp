// Reading through libarchive: 7z archives, and ZIP members whose method the
// own reader lacks. A handle only moves forward, header by header, so each
// reader keeps one and reads the members in their order; data are read in
// blocks straight into the caller's buffer. One byte more than the limit is
// asked for, so a member larger than it is refused without its excess being
// held anywhere.

#include "archive/libarchive_reader.h"

#include <archive.h>
#include <archive_entry.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <utility>

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

// A libarchive handle over its source, moved forward header by header: the
// member it stands at, its place, and how much data the members before it
// claim.
class ForwardReader {
 public:
  ZipResult open(const char* path, ArchiveFormat format) {
    reading_.reset();  // before the source it reads
    *this = ForwardReader();
    FileHandle file;
    if (const FsResult opened = file_system().open(path, "rb", file, true); !opened.ok()) {
      return zip_disk_failure(ZipError::openingFile, opened);
    }
    source_ = std::make_unique<ArchiveSource>();
    source_->file = std::move(file);
    reading_.reset(archive_read_new());
    if (reading_ == nullptr) return zip_failure(ZipError::decoding, "out of memory");
    if (format == ArchiveFormat::sevenZip) {
      archive_read_support_format_7zip(reading_.get());
    } else {
      archive_read_support_format_zip(reading_.get());
    }
    archive_read_set_callback_data(reading_.get(), source_.get());
    archive_read_set_read_callback(reading_.get(), read_source);
    archive_read_set_seek_callback(reading_.get(), seek_source);
    if (archive_read_open1(reading_.get()) != ARCHIVE_OK) return fail();
    return {};
  }

  bool is_open() const { return reading_ != nullptr && !failed_; }
  std::size_t position() const { return position_; }  // of `member`, from 1; 0 before the first
  bool encrypted() const { return encrypted_; }
  std::uint64_t unpacked_before() const { return unpackedBefore_; }

  // Moves to the next member; `member` is nullptr at the end or on failure.
  ZipResult next(const ArchiveMember*& member) {
    member = nullptr;
    if (ended_) return {};
    // Counted only up to just past the limit, so that huge claims cannot wrap.
    unpackedBefore_ += std::min(member_.size, MOST_UNPACKED_BEFORE + 1 - unpackedBefore_);
    archive_entry* entry = nullptr;
    const int result = archive_read_next_header(reading_.get(), &entry);
    if (result == ARCHIVE_EOF) {
      ended_ = true;
      return {};
    }
    if (result < ARCHIVE_WARN) return fail();
    const char* name = archive_entry_pathname(entry);
    member_.name = name != nullptr ? name : "";
    member_.size = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : 0;
    encrypted_ = archive_entry_is_encrypted(entry) != 0;
    ++position_;
    member = &member_;
    return {};
  }

  // Reads the current member's data, at most `limit` bytes.
  ZipResult read_data(const ArchiveMember& claimed, unsigned char* destination, std::size_t limit,
                      std::size_t& size) {
    size = 0;
    for (;;) {
      unsigned char probe = 0;
      const bool full = size == limit;
      const la_ssize_t got = archive_read_data(reading_.get(), full ? &probe : destination + size,
                                               full ? 1 : limit - size);
      if (got < 0) return failure();
      if (got == 0) return {};
      if (full) return zip_failure(ZipError::memberTooLarge, claimed.name);
      size += static_cast<std::size_t>(got);
    }
  }

 private:
  // libarchive's last failure, in the family its reason belongs to: the
  // disk, encryption, something libarchive does not support, or damage.
  ZipResult failure() const {
    if (const FsResult failure = source_->file->failure(); !failure.ok()) {
      return zip_disk_failure(ZipError::decoding, failure);
    }
    const char* reason = archive_error_string(reading_.get());
    if (reason == nullptr) reason = "no reason given";
    ZipError error = ZipError::decoding;
    if (std::strstr(reason, "ncrypt") != nullptr) {
      error = ZipError::encrypted;
    } else if (std::strstr(reason, "support") != nullptr) {
      error = ZipError::decodingUnsupported;
    }
    return zip_failure(error, reason);
  }

  // The handle is of no more use: it ends here.
  ZipResult fail() {
    failed_ = ended_ = true;
    return failure();
  }

  // The source goes after the handle that reads it.
  std::unique_ptr<ArchiveSource> source_;
  std::unique_ptr<archive, decltype(&archive_read_free)> reading_{nullptr, &archive_read_free};
  ArchiveMember member_;
  std::size_t position_ = 0;
  bool encrypted_ = false;
  bool ended_ = false;
  bool failed_ = false;
  std::uint64_t unpackedBefore_ = 0;
};

// The checks of a member's data once the handle stands at it.
ZipResult read_checked(ForwardReader& handle, const ArchiveMember& claimed, bool solid,
                       unsigned char* destination, std::size_t limit, std::size_t& size,
                       std::uint32_t& crc) {
  if (handle.encrypted()) return zip_failure(ZipError::encrypted, claimed.name);
  if (solid && handle.unpacked_before() > MOST_UNPACKED_BEFORE) {
    return zip_failure(ZipError::tooMuchBefore, claimed.name);
  }
  if (ZipResult read = handle.read_data(claimed, destination, limit, size); !read.ok()) return read;
  crc = static_cast<std::uint32_t>(crc32(0L, destination, static_cast<uInt>(size)));
  return member_data_agree(claimed, size, crc);
}

class SevenZipReader final : public ArchiveReader {
 public:
  explicit SevenZipReader(const char* path) : path_(path) {}

  // Lists the members through `listing`, a handle fresh from open.
  void list(ForwardReader& listing) {
    for (;;) {
      const ArchiveMember* member = nullptr;
      listing_ = listing.next(member);
      if (member == nullptr || !add_member(*member)) return;
    }
  }

  ZipResult read_member(std::size_t index, unsigned char* destination, std::size_t limit,
                        std::size_t& size, std::uint32_t& crc) override {
    const ArchiveMember& claimed = members_.at(index);
    // Positions count from 1: the member `index` is at index + 1.
    if (!reading_.is_open() || reading_.position() > index) {
      if (ZipResult opened = reading_.open(path_.c_str(), ArchiveFormat::sevenZip); !opened.ok()) {
        return opened;
      }
    }
    while (reading_.position() <= index) {
      const ArchiveMember* member = nullptr;
      if (ZipResult moved = reading_.next(member); !moved.ok()) return moved;
      if (member == nullptr) return zip_failure(ZipError::decoding, claimed.name);
    }
    return read_checked(reading_, claimed, true, destination, limit, size, crc);
  }

 private:
  std::string path_;
  ForwardReader reading_;  // opened on the first read
};

}  // namespace

ZipResult open_seven_zip(const char* path, std::unique_ptr<ArchiveReader>& reader) {
  ForwardReader listing;
  if (ZipResult opened = listing.open(path, ArchiveFormat::sevenZip); !opened.ok()) return opened;
  auto seven_zip = std::make_unique<SevenZipReader>(path);
  seven_zip->list(listing);
  reader = std::move(seven_zip);
  return {};
}

struct ZipMembersThroughLibarchive::Handle {
  ForwardReader reading;
};

ZipMembersThroughLibarchive::ZipMembersThroughLibarchive(std::string path)
    : path_(std::move(path)) {}

ZipMembersThroughLibarchive::~ZipMembersThroughLibarchive() = default;

ZipResult ZipMembersThroughLibarchive::read(const ArchiveMember& claimed,
                                            unsigned char* destination, std::size_t limit,
                                            std::size_t& size, std::uint32_t& crc) {
  if (handle_ == nullptr) {
    handle_ = std::make_unique<Handle>();
    if (ZipResult opened = handle_->reading.open(path_.c_str(), ArchiveFormat::zip); !opened.ok()) {
      return opened;
    }
  }
  ForwardReader& reading = handle_->reading;
  if (!reading.is_open()) return zip_failure(ZipError::decoding, claimed.name);
  // Forward from the member last read; once round from the start when the
  // end comes first.
  bool from_start = reading.position() == 0;
  for (;;) {
    const ArchiveMember* member = nullptr;
    if (ZipResult moved = reading.next(member); !moved.ok()) return moved;
    if (member != nullptr && member->name == claimed.name) break;
    if (member != nullptr) continue;
    if (from_start) return zip_failure(ZipError::decoding, claimed.name);
    if (ZipResult opened = reading.open(path_.c_str(), ArchiveFormat::zip); !opened.ok()) {
      return opened;
    }
    from_start = true;
  }
  return read_checked(reading, claimed, false, destination, limit, size, crc);
}

bool libarchive_available() {
  return true;
}
