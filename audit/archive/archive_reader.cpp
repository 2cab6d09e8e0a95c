// The reader behind each archive format: ZIP through the own reader, with
// libarchive for members of other methods; 7z through libarchive.

#include "archive/archive_reader.h"

#include "archive/libarchive_reader.h"
#include "archive/member_checks.h"
#include "zip/zip_messages.h"
#include "zip/zip_reader.h"

namespace {

class OwnZipReader final : public ArchiveReader {
 public:
  explicit OwnZipReader(ZipArchive* archive) : archive_(archive) {}
  ~OwnZipReader() override { zip_close(archive_); }
  OwnZipReader(const OwnZipReader&) = delete;
  OwnZipReader& operator=(const OwnZipReader&) = delete;

  const ArchiveMember* next_member() override {
    entry_ = zip_next_entry(archive_);
    if (entry_ == nullptr) return nullptr;
    member_.name = entry_->name;
    member_.size = entry_->uncompressedSize;
    member_.crc = entry_->crc;
    member_.crcKnown = true;
    return &member_;
  }

  bool read_member(unsigned char* destination, std::size_t limit, std::size_t& size,
                   std::uint32_t& crc) override {
    const char* path = archive_->path.c_str();
    if (member_.size > limit) {
      zip_report_cause(*archive_->log, ZipError::memberTooLarge, path, member_.name.c_str());
      return false;
    }
    size = static_cast<std::size_t>(member_.size);
    if (zip_method_supported(*entry_) || zip_entry_encrypted(*entry_) || !libarchive_available()) {
      return zip_read_entry(archive_, entry_, destination, &crc) == 0;
    }
    return read_zip_member_through_libarchive(path, *archive_->log, member_, destination, limit,
                                              size, crc);
  }

 private:
  ZipArchive* archive_;
  ZipEntry* entry_ = nullptr;
  ArchiveMember member_;
};

}  // namespace

std::unique_ptr<ArchiveReader> open_archive(const char* path, ArchiveFormat format, ZipLog& log) {
  if (format == ArchiveFormat::sevenZip) return open_seven_zip(path, log);
  ZipArchive* archive = zip_open(path, log);
  if (archive == nullptr) return nullptr;
  return std::make_unique<OwnZipReader>(archive);
}

bool member_data_agree(ZipLog& log, const char* path, const ArchiveMember& claimed,
                       std::size_t size, std::uint32_t crc) {
  if (size != claimed.size) {
    zip_report_cause(log, ZipError::sizeDiffers, path, claimed.name.c_str());
    return false;
  }
  if (claimed.crcKnown && crc != claimed.crc) {
    zip_report_crc_mismatch(log, path, claimed.name.c_str(), claimed.crc, crc);
    return false;
  }
  return true;
}
