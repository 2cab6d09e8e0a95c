#include "zip/zip64.h"

#include <cstring>

#include "system/file_system.h"
#include "zip/byte_cursor.h"

namespace {

constexpr unsigned char LOCATOR_SIGNATURE[] = {'P', 'K', 6, 7};
constexpr unsigned char RECORD_SIGNATURE[] = {'P', 'K', 6, 6};
constexpr std::size_t LOCATOR_SIZE = 20;
constexpr std::size_t RECORD_SIZE = 56;
constexpr std::uint16_t EXTRA_ZIP64 = 0x0001;
constexpr std::uint16_t SATURATED_16 = 0xFFFF;
constexpr std::uint32_t SATURATED_32 = 0xFFFFFFFF;

// Whether the classic end record says "see the ZIP64 record".
bool needs_zip64(const ZipArchive& archive) {
  return archive.diskNumber == SATURATED_16 || archive.directoryDisk == SATURATED_16 ||
         archive.entriesOnDisk == SATURATED_16 || archive.totalEntries == SATURATED_16 ||
         archive.directorySize == SATURATED_32 || archive.directoryOffset == SATURATED_32;
}

bool read_at(const ZipArchive& archive, std::uint64_t offset, unsigned char* buffer,
             std::size_t size) {
  const auto length = static_cast<std::uint64_t>(archive.length);
  return size <= length && offset <= length - size &&
         archive.stream->seek(static_cast<std::int64_t>(offset), SEEK_SET).ok() &&
         read_exactly(*archive.stream, buffer, size);
}

// The offset of the ZIP64 record named by the locator that ends at
// `endOffset`, taken from the `held` bytes that precede it in memory when
// they cover it (the common case: no read), else from the file when the end
// record needs it. False when there is no locator.
bool find_locator(const ZipArchive& archive, std::uint64_t endOffset, const unsigned char* held,
                  std::size_t heldLength, std::uint64_t& record) {
  unsigned char copy[LOCATOR_SIZE];
  const unsigned char* locator = copy;
  if (heldLength >= LOCATOR_SIZE) {
    locator = held + heldLength - LOCATOR_SIZE;
  } else if (!needs_zip64(archive) || endOffset < LOCATOR_SIZE ||
             !read_at(archive, endOffset - LOCATOR_SIZE, copy, sizeof copy)) {
    return false;
  }
  if (std::memcmp(locator, LOCATOR_SIGNATURE, sizeof LOCATOR_SIGNATURE) != 0) return false;
  ByteCursor cursor(locator, LOCATOR_SIZE);
  cursor.skip(8);  // signature, disk of the record
  record = cursor.u64();
  return true;
}

bool decode_record(ZipArchive& archive, std::uint64_t offset) {
  unsigned char record[RECORD_SIZE];
  if (!read_at(archive, offset, record, sizeof record)) return false;
  if (std::memcmp(record, RECORD_SIGNATURE, sizeof RECORD_SIGNATURE) != 0) return false;
  ByteCursor cursor(record, sizeof record);
  cursor.skip(16);  // signature, record size, versions
  archive.diskNumber = cursor.u32();
  archive.directoryDisk = cursor.u32();
  archive.entriesOnDisk = cursor.u64();
  archive.totalEntries = cursor.u64();
  archive.directorySize = cursor.u64();
  archive.directoryOffset = cursor.u64();
  archive.zip64 = true;
  return cursor.ok();
}

}  // namespace

bool zip64_read_end_record(ZipArchive& archive, std::uint64_t endOffset, const unsigned char* held,
                           std::size_t heldLength) {
  std::uint64_t record = 0;
  if (find_locator(archive, endOffset, held, heldLength, record) &&
      decode_record(archive, record)) {
    return true;
  }
  return !needs_zip64(archive);
}

void zip64_apply_extra_field(ZipEntry& entry, const unsigned char* extra, std::size_t length) {
  ByteCursor fields(extra, length);
  while (fields.remaining() >= 4) {
    const std::uint16_t id = fields.u16();
    const std::uint16_t size = fields.u16();
    const unsigned char* data = fields.bytes(size);
    if (data == nullptr) return;
    if (id != EXTRA_ZIP64) continue;
    // Only the saturated fields are present, always in this order.
    ByteCursor values(data, size);
    if (entry.uncompressedSize == SATURATED_32 && values.remaining() >= 8) {
      entry.uncompressedSize = values.u64();
    }
    if (entry.compressedSize == SATURATED_32 && values.remaining() >= 8) {
      entry.compressedSize = values.u64();
    }
    if (entry.localHeaderOffset == SATURATED_32 && values.remaining() >= 8) {
      entry.localHeaderOffset = values.u64();
    }
    if (entry.diskStart == SATURATED_16 && values.remaining() >= 4) entry.diskStart = values.u32();
    return;
  }
}
