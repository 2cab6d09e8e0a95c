// The reader behind each archive format: ZIP through the own reader, with
// libarchive for members of other methods; 7z through libarchive.

#include "archive/archive_reader.h"

#include <utility>

#include "archive/libarchive_reader.h"
#include "archive/member_checks.h"
#include "zip/zip_messages.h"
#include "zip/zip_reader.h"

namespace {

class OwnZipReader final : public ArchiveReader {
 public:
  OwnZipReader(const char* path, ZipHandle archive) : archive_(std::move(archive)), others_(path) {
    list();
  }

  ZipResult read_member(std::size_t index, unsigned char* destination, std::size_t limit,
                        std::size_t& size, std::uint32_t& crc) override {
    const ArchiveMember& member = members_.at(index);
    if (member.size > limit) return zip_failure(ZipError::memberTooLarge, member.name);
    // The directory is in memory: the member's entry is decoded again from it.
    archive_->readPosition = positions_[index];
    const ZipEntry* entry = nullptr;
    if (ZipResult decoded = zip_next_entry(*archive_, entry); !decoded.ok()) return decoded;
    size = static_cast<std::size_t>(member.size);
    if (zip_method_supported(*entry) || zip_entry_encrypted(*entry) || !libarchive_available()) {
      return zip_read_entry(*archive_, *entry, destination, &crc);
    }
    return others_.read(member, destination, limit, size, crc);
  }

 private:
  void list() {
    for (;;) {
      const std::uint64_t position = archive_->readPosition;
      const ZipEntry* entry = nullptr;
      listing_ = zip_next_entry(*archive_, entry);
      if (entry == nullptr) return;
      if (!add_member({entry->name, entry->uncompressedSize, entry->crc, true})) return;
      positions_.push_back(position);
    }
  }

  ZipHandle archive_;
  std::vector<std::uint64_t> positions_;  // of each member's entry in the directory
  ZipMembersThroughLibarchive others_;
};

}  // namespace

bool ArchiveReader::add_member(ArchiveMember member) {
  nameBytes_ += member.name.size();
  if (members_.size() >= ARCHIVE_MEMBER_LIMIT || nameBytes_ > ARCHIVE_NAME_BYTES_LIMIT) {
    listing_ = zip_failure(ZipError::tooManyMembers, member.name);
    return false;
  }
  members_.push_back(std::move(member));
  return true;
}

ZipResult open_archive(const char* path, ArchiveFormat format,
                       std::unique_ptr<ArchiveReader>& reader) {
  reader.reset();
  if (format == ArchiveFormat::sevenZip) return open_seven_zip(path, reader);
  ZipHandle archive;
  if (ZipResult opened = zip_open(path, archive); !opened.ok()) return opened;
  reader = std::make_unique<OwnZipReader>(path, std::move(archive));
  return {};
}

ZipResult member_data_agree(const ArchiveMember& claimed, std::size_t size, std::uint32_t crc) {
  if (size != claimed.size) return zip_failure(ZipError::sizeDiffers, claimed.name);
  if (claimed.crcKnown && crc != claimed.crc) {
    return zip_crc_failure(ZipError::crcMismatch, claimed.name, claimed.crc, crc);
  }
  return {};
}
