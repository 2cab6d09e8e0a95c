// Extracting one entry of an open archive: stored data are read in one
// piece, deflated data are inflated with zlib in chunks of 16 KiB. What was
// extracted counts only when its CRC-32 is the one the headers give.

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>
#include <string>

#include "system/file_system.h"
#include "zip/byte_cursor.h"
#include "zip/zip_reader.h"

namespace {

constexpr std::uint16_t METHOD_STORED = 0;
constexpr std::uint16_t METHOD_DEFLATED = 8;
constexpr std::uint16_t METHOD_AES = 99;
constexpr std::uint16_t FLAG_ENCRYPTED = 1 << 0;
constexpr std::uint16_t FLAG_DATA_DESCRIPTOR = 1 << 3;  // local CRC and sizes follow the data
constexpr std::uint8_t NEWEST_VERSION_NEEDED = 20;      // 2.0
constexpr std::uint8_t ZIP64_VERSION_NEEDED = 45;       // 4.5: only ZIP64 fields beyond 2.0
constexpr std::uint8_t HOST_SYSTEM_MSDOS = 0;

constexpr std::size_t LOCAL_HEADER_SIZE = 30;
constexpr std::size_t LOCAL_CRC_OFFSET = 14;
constexpr std::size_t LOCAL_NAME_LENGTH_OFFSET = 26;
constexpr std::size_t INFLATE_CHUNK = 16 * 1024;

bool crc_checks = true;

// The local header's CRC-32 must be the directory's, unless it is left for
// a data descriptor.
ZipResult check_local_crc(const ZipEntry& entry, std::uint32_t local_crc) {
  if (!crc_checks || (entry.flags & FLAG_DATA_DESCRIPTOR) != 0 || local_crc == entry.crc) {
    return {};
  }
  return zip_crc_failure(ZipError::localCrcMismatch, entry.name, local_crc, entry.crc);
}

// One pass over the extracted data: their CRC-32 is compared with the
// directory's and handed to the caller.
ZipResult check_data(const ZipEntry& entry, const unsigned char* data, std::uint32_t* data_crc) {
  const auto crc =
      static_cast<std::uint32_t>(crc32_z(0L, data, static_cast<z_size_t>(entry.uncompressedSize)));
  if (crc_checks && crc != entry.crc) {
    return zip_crc_failure(ZipError::crcMismatch, entry.name, entry.crc, crc);
  }
  if (data_crc != nullptr) *data_crc = crc;
  return {};
}

// Positions the stream at the entry's data, past its local header.
ZipResult zip_seek_data(const ZipArchive& archive, const ZipEntry& entry) {
  if (!archive.stream->seek(static_cast<std::int64_t>(entry.localHeaderOffset), SEEK_SET).ok()) {
    return zip_problem(ZipError::seekingToHeader, archive);
  }
  unsigned char header[LOCAL_HEADER_SIZE];
  // An offset past the end of the file has no header to read.
  if (entry.localHeaderOffset > static_cast<std::uint64_t>(archive.length) ||
      !read_exactly(*archive.stream, header, sizeof header)) {
    return zip_problem(ZipError::readingHeader, archive);
  }
  ByteCursor cursor(header, sizeof header);
  cursor.skip(LOCAL_CRC_OFFSET);
  const std::uint32_t local_crc = cursor.u32();
  cursor.skip(LOCAL_NAME_LENGTH_OFFSET - LOCAL_CRC_OFFSET - 4);
  const std::uint16_t name_length = cursor.u16();
  const std::uint16_t extra_length = cursor.u16();
  const auto data = static_cast<std::int64_t>(entry.localHeaderOffset + LOCAL_HEADER_SIZE +
                                              name_length + extra_length);
  if (!archive.stream->seek(data, SEEK_SET).ok())
    return zip_problem(ZipError::seekingToData, archive);
  return check_local_crc(entry, local_crc);
}

ZipResult read_stored(const ZipArchive& archive, const ZipEntry& entry,
                      unsigned char* destination) {
  // Equal sizes also keep the read within the destination's room.
  if (entry.compressedSize != entry.uncompressedSize) {
    return zip_problem(ZipError::storedSizeDiffers, archive);
  }
  if (ZipResult result = zip_seek_data(archive, entry); !result.ok()) return result;
  if (!read_exactly(*archive.stream, destination, entry.compressedSize)) {
    return zip_problem(ZipError::readingData, archive);
  }
  return {};
}

// One line of detail for the log, printf-style.
template <typename... Values>
std::string detail_line(const char* format, Values... values) {
  char line[64];
  std::snprintf(line, sizeof line, format, values...);
  return line;
}

// The stream has ended: the output must be full and every compressed byte,
// read or still to read, used.
bool sizes_agree(const z_stream& inflater, std::uint64_t unread, std::string& detail) {
  const std::uint64_t left_over = unread + inflater.avail_in;
  if (inflater.avail_out == 0 && left_over == 0) return true;
  detail = detail_line("zip size mismatch. %llu\n", static_cast<unsigned long long>(left_over));
  return false;
}

// Feeds the entry's compressed bytes to the inflater chunk by chunk; a new
// chunk is read only when the last one is used up.
bool inflate_chunks(FileStream& stream, std::uint64_t compressedSize, z_stream& inflater,
                    std::string& detail) {
  const std::unique_ptr<unsigned char[]> chunk(new (std::nothrow) unsigned char[INFLATE_CHUNK]);
  if (chunk == nullptr) return false;
  std::uint64_t unread = compressedSize;
  for (;;) {
    if (inflater.avail_in == 0) {
      if (unread == 0) {
        detail = "inflate error: compressed size too small\n";
        return false;
      }
      const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(unread, INFLATE_CHUNK));
      const std::size_t got = stream.read(chunk.get(), wanted);
      unread -= got;
      inflater.next_in = chunk.get();
      inflater.avail_in = static_cast<uInt>(got);
    }
    const int result = inflate(&inflater, Z_NO_FLUSH);
    if (result == Z_STREAM_END) return sizes_agree(inflater, unread, detail);
    if (result != Z_OK) {
      detail = detail_line("inflate error: %d\n", result);
      return false;
    }
  }
}

// Inflates raw deflate data (no zlib header) into exactly the entry's
// uncompressed size; zlib never writes past the room it is given. What went
// wrong goes to `detail`.
bool inflate_entry(FileStream& stream, const ZipEntry& entry, unsigned char* destination,
                   std::string& detail) {
  z_stream inflater{};
  unsigned char no_room = 0;  // zlib wants an output pointer even for empty data
  // zlib counts its room in 32 bits; no caller has more room than that.
  if (entry.uncompressedSize > UINT32_MAX) return false;
  inflater.next_out = destination != nullptr ? destination : &no_room;
  inflater.avail_out = static_cast<uInt>(entry.uncompressedSize);
  const int started = inflateInit2(&inflater, -MAX_WBITS);
  if (started != Z_OK) {
    detail = detail_line("inflateInit error: %d\n", started);
    return false;
  }
  bool inflated = inflate_chunks(stream, entry.compressedSize, inflater, detail);
  const int ended = inflateEnd(&inflater);
  if (inflated && ended != Z_OK) {
    detail = detail_line("inflateEnd error: %d\n", ended);
    inflated = false;
  }
  return inflated;
}

ZipResult read_deflated(const ZipArchive& archive, const ZipEntry& entry,
                        unsigned char* destination) {
  if (entry.versionNeeded > NEWEST_VERSION_NEEDED && entry.versionNeeded != ZIP64_VERSION_NEEDED) {
    return zip_problem(ZipError::versionTooNew, archive);
  }
  if (entry.hostSystemNeeded != HOST_SYSTEM_MSDOS) {
    return zip_problem(ZipError::systemUnsupported, archive);
  }
  if (entry.diskStart != archive.diskNumber) return zip_problem(ZipError::spanningDisks, archive);
  if (ZipResult result = zip_seek_data(archive, entry); !result.ok()) return result;
  std::string detail;
  if (!inflate_entry(*archive.stream, entry, destination, detail)) {
    ZipResult result = zip_problem(ZipError::inflating, archive);
    result.detail = std::move(detail);
    return result;
  }
  return {};
}

}  // namespace

ZipResult zip_read_entry(ZipArchive& archive, const ZipEntry& entry, unsigned char* destination,
                         std::uint32_t* dataCrc) {
  if (zip_entry_encrypted(entry)) return zip_failure(ZipError::encrypted, entry.name);
  ZipResult result;
  switch (entry.method) {
    case METHOD_STORED:
      result = read_stored(archive, entry, destination);
      break;
    case METHOD_DEFLATED:
      result = read_deflated(archive, entry, destination);
      break;
    default:
      return zip_problem(ZipError::methodUnsupported, archive);
  }
  if (!result.ok()) return result;
  return check_data(entry, destination, dataCrc);
}

bool zip_method_supported(const ZipEntry& entry) {
  return entry.method == METHOD_STORED || entry.method == METHOD_DEFLATED;
}

bool zip_entry_encrypted(const ZipEntry& entry) {
  return (entry.flags & FLAG_ENCRYPTED) != 0 || entry.method == METHOD_AES;
}

void zip_set_crc_checks(bool on) {
  crc_checks = on;
}
