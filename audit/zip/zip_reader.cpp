// Opening an archive and walking its central directory.

#include "zip/zip_reader.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "system/file_system.h"
#include "zip/byte_cursor.h"
#include "zip/zip64.h"

namespace {

constexpr unsigned char END_SIGNATURE[] = {'P', 'K', 5, 6};
constexpr std::size_t END_RECORD_SIZE = 22;
constexpr std::size_t DIRECTORY_HEADER_SIZE = 46;

// The search for the end record starts with the last 1 KiB and doubles the
// window until it covers the longest record there can be: 22 bytes and a
// comment of 65,535.
constexpr std::size_t FIRST_WINDOW = 1024;
constexpr std::size_t LAST_WINDOW = END_RECORD_SIZE + 0xFFFF;

ZipResult measure_stream(ZipArchive& archive) {
  if (!archive.stream->seek(0, SEEK_END).ok()) return zip_problem(ZipError::seekingToEnd, archive);
  archive.length = archive.stream->tell();
  if (archive.length < 0) return zip_problem(ZipError::gettingFileSize, archive);
  if (archive.length == 0) return zip_problem(ZipError::emptyFile, archive);
  return {};
}

// The last `size` bytes of the file; nullptr when they cannot be read.
std::unique_ptr<unsigned char[]> read_tail(const ZipArchive& archive, std::size_t size) {
  const auto from = archive.length - static_cast<std::int64_t>(size);
  if (!archive.stream->seek(from, SEEK_SET).ok()) return nullptr;
  std::unique_ptr<unsigned char[]> tail(new (std::nothrow) unsigned char[size]);
  if (tail == nullptr || !read_exactly(*archive.stream, tail.get(), size)) return nullptr;
  return tail;
}

// Position of the signature nearest the end that has a whole record after
// it; `size` when there is none.
std::size_t find_end_signature(const unsigned char* window, std::size_t size) {
  if (size < END_RECORD_SIZE) return size;
  for (std::size_t at = size - END_RECORD_SIZE + 1; at-- > 0;) {
    if (std::memcmp(window + at, END_SIGNATURE, sizeof END_SIGNATURE) == 0) return at;
  }
  return size;
}

// Copies the record (and what follows it) out of the window and decodes it.
bool keep_end_record(ZipArchive& archive, const unsigned char* record, std::size_t length) {
  archive.endRecord.reset(new (std::nothrow) unsigned char[length]);
  if (archive.endRecord == nullptr) return false;
  std::memcpy(archive.endRecord.get(), record, length);
  archive.endRecordLength = length;

  ByteCursor cursor(archive.endRecord.get(), length);
  cursor.skip(sizeof END_SIGNATURE);
  archive.diskNumber = cursor.u16();
  archive.directoryDisk = cursor.u16();
  archive.entriesOnDisk = cursor.u16();
  archive.totalEntries = cursor.u16();
  archive.directorySize = cursor.u32();
  archive.directoryOffset = cursor.u32();
  archive.commentLength = cursor.u16();
  const std::size_t present = std::min<std::size_t>(archive.commentLength, cursor.remaining());
  archive.comment = {reinterpret_cast<const char*>(cursor.bytes(present)), present};
  return cursor.ok();
}

ZipResult find_end_record(ZipArchive& archive) {
  const auto file_length = static_cast<std::uint64_t>(archive.length);
  for (std::size_t window = FIRST_WINDOW;; window *= 2) {
    window = static_cast<std::size_t>(std::min<std::uint64_t>({window, LAST_WINDOW, file_length}));
    const std::unique_ptr<unsigned char[]> tail = read_tail(archive, window);
    if (tail == nullptr) break;
    const std::size_t at = find_end_signature(tail.get(), window);
    if (at < window) {
      const std::uint64_t end_offset = file_length - window + at;
      if (keep_end_record(archive, tail.get() + at, window - at) &&
          zip64_read_end_record(archive, end_offset, tail.get(), at)) {
        return {};
      }
      break;
    }
    if (window == file_length || window == LAST_WINDOW) break;
  }
  return zip_problem(ZipError::readingEndRecord, archive);
}

// Archives split over several disks are not read; neither are archives
// without entries.
ZipResult check_single_disk(const ZipArchive& archive) {
  if (archive.diskNumber != archive.directoryDisk ||
      archive.entriesOnDisk != archive.totalEntries || archive.totalEntries < 1) {
    return zip_problem(ZipError::spanningDisks, archive);
  }
  return {};
}

// A directory that cannot be allocated is refused as one that cannot be read.
ZipResult read_directory(ZipArchive& archive) {
  const auto length = static_cast<std::uint64_t>(archive.length);
  if (!archive.stream->seek(static_cast<std::int64_t>(archive.directoryOffset), SEEK_SET).ok()) {
    return zip_problem(ZipError::seekingToDirectory, archive);
  }
  // A directory the file cannot hold is refused before anything is allocated.
  if (archive.directoryOffset > length ||
      archive.directorySize > length - archive.directoryOffset) {
    return zip_problem(ZipError::readingDirectory, archive);
  }
  archive.directory.reset(new (std::nothrow) unsigned char[archive.directorySize]);
  if (archive.directory == nullptr ||
      !read_exactly(*archive.stream, archive.directory.get(), archive.directorySize)) {
    return zip_problem(ZipError::readingDirectory, archive);
  }
  return {};
}

// The fixed part of a central-directory file header.
ZipEntry decode_entry(ByteCursor& cursor) {
  ZipEntry entry;
  entry.signature = cursor.u32();
  entry.versionMadeBy = cursor.u8();
  entry.hostSystem = cursor.u8();
  entry.versionNeeded = cursor.u8();
  entry.hostSystemNeeded = cursor.u8();
  entry.flags = cursor.u16();
  entry.method = cursor.u16();
  entry.modificationTime = cursor.u16();
  entry.modificationDate = cursor.u16();
  entry.crc = cursor.u32();
  entry.compressedSize = cursor.u32();
  entry.uncompressedSize = cursor.u32();
  entry.nameLength = cursor.u16();
  entry.extraLength = cursor.u16();
  entry.commentLength = cursor.u16();
  entry.diskStart = cursor.u16();
  entry.internalAttributes = cursor.u16();
  entry.externalAttributes = cursor.u32();
  entry.localHeaderOffset = cursor.u32();
  return entry;
}

}  // namespace

ZipResult zip_problem(ZipError error, const ZipArchive& archive) {
  if (const FsResult failure = archive.stream->failure(); !failure.ok()) {
    return zip_disk_failure(error, failure);
  }
  return zip_failure(error);
}

bool read_exactly(FileStream& stream, void* buffer, std::size_t count) {
  return count != 0 && stream.read(buffer, count) == count;
}

ZipResult zip_open(const char* path, ZipHandle& archive) {
  FileHandle stream;
  if (const FsResult opened = file_system().open(path, "rb", stream); !opened.ok()) {
    archive.reset();
    return zip_disk_failure(ZipError::openingFile, opened);
  }
  return zip_open_stream(std::move(stream), archive);
}

ZipResult zip_open_stream(FileHandle stream, ZipHandle& archive) {
  archive.reset();
  auto opening = std::make_unique<ZipArchive>();
  opening->stream = std::move(stream);
  ZipResult result = measure_stream(*opening);
  if (result.ok()) result = find_end_record(*opening);
  if (result.ok()) result = check_single_disk(*opening);
  if (result.ok()) result = read_directory(*opening);
  if (result.ok()) archive = std::move(opening);
  return result;
}

ZipResult zip_next_entry(ZipArchive& archive, const ZipEntry*& next) {
  next = nullptr;
  if (archive.readPosition >= archive.directorySize) return {};
  ByteCursor cursor(archive.directory.get() + archive.readPosition,
                    archive.directorySize - archive.readPosition);
  ZipEntry entry = decode_entry(cursor);
  const unsigned char* name = cursor.bytes(entry.nameLength);
  if (!cursor.ok()) {
    archive.readPosition = archive.directorySize;  // nothing after it can be trusted
    return zip_failure(ZipError::invalidNameLength);
  }
  archive.currentName.assign(reinterpret_cast<const char*>(name), entry.nameLength);
  entry.name = archive.currentName.c_str();
  const std::size_t extra_present = std::min<std::size_t>(entry.extraLength, cursor.remaining());
  zip64_apply_extra_field(entry, cursor.bytes(extra_present), extra_present);
  archive.entry = entry;
  // The extra field and the comment are not checked beyond the ZIP64 field:
  // when they run past the end, the next call ends the walk.
  archive.readPosition += DIRECTORY_HEADER_SIZE + std::uint64_t{entry.nameLength} +
                          entry.extraLength + entry.commentLength;
  next = &archive.entry;
  return {};
}
