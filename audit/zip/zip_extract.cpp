// Extracting one entry of an open archive: stored data are read in one
// piece, deflated data are inflated with zlib in chunks of 16 KiB. What was
// extracted counts only when its CRC-32 is the one the headers give.

#include <zlib.h>

#include <algorithm>
#include <new>

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

enum Result { OK = 0, IO_FAILED = -1, UNSUPPORTED = -2, INCONSISTENT = -3 };

bool crc_checks = true;

int fail(ZipError error, const ZipArchive& archive, Result result) {
  zip_report_problem(archive, error);
  return result;
}

// The local header's CRC-32 must be the directory's, unless it is left for
// a data descriptor.
int check_local_crc(const ZipArchive& archive, const ZipEntry& entry, std::uint32_t local_crc) {
  if (!crc_checks || (entry.flags & FLAG_DATA_DESCRIPTOR) != 0 || local_crc == entry.crc) {
    return OK;
  }
  zip_report_local_crc_mismatch(*archive.log, archive.path.c_str(), entry.name, local_crc,
                                entry.crc);
  return INCONSISTENT;
}

// One pass over the extracted data: their CRC-32 is compared with the
// directory's and handed to the caller.
int check_data(const ZipArchive& archive, const ZipEntry& entry, const unsigned char* data,
               std::uint32_t* data_crc) {
  const auto crc =
      static_cast<std::uint32_t>(crc32_z(0L, data, static_cast<z_size_t>(entry.uncompressedSize)));
  if (crc_checks && crc != entry.crc) {
    zip_report_crc_mismatch(*archive.log, archive.path.c_str(), entry.name, entry.crc, crc);
    return INCONSISTENT;
  }
  if (data_crc != nullptr) *data_crc = crc;
  return OK;
}

// Positions the stream at the entry's data, past its local header.
int zip_seek_data(const ZipArchive& archive, const ZipEntry& entry) {
  if (!archive.stream->seek(static_cast<std::int64_t>(entry.localHeaderOffset), SEEK_SET).ok()) {
    return fail(ZipError::seekingToHeader, archive, IO_FAILED);
  }
  unsigned char header[LOCAL_HEADER_SIZE];
  // An offset past the end of the file has no header to read.
  if (entry.localHeaderOffset > static_cast<std::uint64_t>(archive.length) ||
      !read_exactly(*archive.stream, header, sizeof header)) {
    return fail(ZipError::readingHeader, archive, IO_FAILED);
  }
  ByteCursor cursor(header, sizeof header);
  cursor.skip(LOCAL_CRC_OFFSET);
  const std::uint32_t local_crc = cursor.u32();
  cursor.skip(LOCAL_NAME_LENGTH_OFFSET - LOCAL_CRC_OFFSET - 4);
  const std::uint16_t name_length = cursor.u16();
  const std::uint16_t extra_length = cursor.u16();
  const auto data = static_cast<std::int64_t>(entry.localHeaderOffset + LOCAL_HEADER_SIZE +
                                              name_length + extra_length);
  if (!archive.stream->seek(data, SEEK_SET).ok()) {
    return fail(ZipError::seekingToData, archive, IO_FAILED);
  }
  return check_local_crc(archive, entry, local_crc);
}

int read_stored(const ZipArchive& archive, const ZipEntry& entry, unsigned char* destination) {
  // Equal sizes also keep the read within the destination's room.
  if (entry.compressedSize != entry.uncompressedSize) {
    return fail(ZipError::storedSizeDiffers, archive, INCONSISTENT);
  }
  if (const int result = zip_seek_data(archive, entry); result != OK) return result;
  if (!read_exactly(*archive.stream, destination, entry.compressedSize)) {
    return fail(ZipError::readingData, archive, IO_FAILED);
  }
  return OK;
}

// The stream has ended: the output must be full and every compressed byte,
// read or still to read, used.
bool sizes_agree(ZipLog& log, const z_stream& inflater, std::uint64_t unread) {
  const std::uint64_t left_over = unread + inflater.avail_in;
  if (inflater.avail_out == 0 && left_over == 0) return true;
  zip_log_detail(log, "zip size mismatch. %llu\n", static_cast<unsigned long long>(left_over));
  return false;
}

// Feeds the entry's compressed bytes to the inflater chunk by chunk; a new
// chunk is read only when the last one is used up.
bool inflate_chunks(ZipLog& log, FileStream& stream, std::uint64_t compressedSize,
                    z_stream& inflater) {
  const std::unique_ptr<unsigned char[]> chunk(new (std::nothrow) unsigned char[INFLATE_CHUNK]);
  if (chunk == nullptr) return false;
  std::uint64_t unread = compressedSize;
  for (;;) {
    if (inflater.avail_in == 0) {
      if (unread == 0) {
        zip_log_detail(log, "inflate error: compressed size too small\n");
        return false;
      }
      const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(unread, INFLATE_CHUNK));
      const std::size_t got = stream.read(chunk.get(), wanted);
      unread -= got;
      inflater.next_in = chunk.get();
      inflater.avail_in = static_cast<uInt>(got);
    }
    const int result = inflate(&inflater, Z_NO_FLUSH);
    if (result == Z_STREAM_END) return sizes_agree(log, inflater, unread);
    if (result != Z_OK) {
      zip_log_detail(log, "inflate error: %d\n", result);
      return false;
    }
  }
}

// Inflates raw deflate data (no zlib header) into exactly the entry's
// uncompressed size; zlib never writes past the room it is given.
bool inflate_entry(ZipLog& log, FileStream& stream, const ZipEntry& entry,
                   unsigned char* destination) {
  z_stream inflater{};
  unsigned char no_room = 0;  // zlib wants an output pointer even for empty data
  // zlib counts its room in 32 bits; no caller has more room than that.
  if (entry.uncompressedSize > UINT32_MAX) return false;
  inflater.next_out = destination != nullptr ? destination : &no_room;
  inflater.avail_out = static_cast<uInt>(entry.uncompressedSize);
  const int started = inflateInit2(&inflater, -MAX_WBITS);
  if (started != Z_OK) {
    zip_log_detail(log, "inflateInit error: %d\n", started);
    return false;
  }
  bool inflated = inflate_chunks(log, stream, entry.compressedSize, inflater);
  const int ended = inflateEnd(&inflater);
  if (inflated && ended != Z_OK) {
    zip_log_detail(log, "inflateEnd error: %d\n", ended);
    inflated = false;
  }
  return inflated;
}

int read_deflated(const ZipArchive& archive, const ZipEntry& entry, unsigned char* destination) {
  if (entry.versionNeeded > NEWEST_VERSION_NEEDED && entry.versionNeeded != ZIP64_VERSION_NEEDED) {
    return fail(ZipError::versionTooNew, archive, UNSUPPORTED);
  }
  if (entry.hostSystemNeeded != HOST_SYSTEM_MSDOS) {
    return fail(ZipError::systemUnsupported, archive, UNSUPPORTED);
  }
  if (entry.diskStart != archive.diskNumber) {
    return fail(ZipError::spanningDisks, archive, UNSUPPORTED);
  }
  if (const int result = zip_seek_data(archive, entry); result != OK) return result;
  if (!inflate_entry(*archive.log, *archive.stream, entry, destination)) {
    return fail(ZipError::inflating, archive, INCONSISTENT);
  }
  return OK;
}

}  // namespace

int zip_read_entry(ZipArchive* archive, ZipEntry* entry, unsigned char* destination,
                   std::uint32_t* dataCrc) {
  if (zip_entry_encrypted(*entry)) {
    zip_report_cause(*archive->log, ZipError::encrypted, archive->path.c_str(), entry->name);
    return UNSUPPORTED;
  }
  int result = UNSUPPORTED;
  switch (entry->method) {
    case METHOD_STORED:
      result = read_stored(*archive, *entry, destination);
      break;
    case METHOD_DEFLATED:
      result = read_deflated(*archive, *entry, destination);
      break;
    default:
      return fail(ZipError::methodUnsupported, *archive, UNSUPPORTED);
  }
  if (result != OK) return result;
  return check_data(*archive, *entry, destination, dataCrc);
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
