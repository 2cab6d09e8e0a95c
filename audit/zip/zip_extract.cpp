// Extracting one entry of an open archive: stored data are read in one
// piece, deflated data are inflated with zlib in chunks of 16 KiB.

#include <zlib.h>

#include <algorithm>
#include <new>

#include "zip/byte_cursor.h"
#include "zip/zip_reader.h"
#include "zip/zip_streams.h"

namespace {

constexpr std::uint16_t METHOD_STORED = 0;
constexpr std::uint16_t METHOD_DEFLATED = 8;
constexpr std::uint8_t NEWEST_VERSION_NEEDED = 20;  // 2.0
constexpr std::uint8_t HOST_SYSTEM_MSDOS = 0;

constexpr std::size_t LOCAL_HEADER_SIZE = 30;
constexpr std::size_t LOCAL_NAME_LENGTH_OFFSET = 26;
constexpr std::size_t INFLATE_CHUNK = 16 * 1024;

enum Result { OK = 0, IO_FAILED = -1, UNSUPPORTED = -2, INCONSISTENT = -3 };

int fail(ZipError error, const ZipArchive& archive, Result result) {
  zip_report(*archive.log, error, archive.path.c_str());
  return result;
}

// Positions the stream at the entry's data, past its local header.
int zip_seek_data(const ZipArchive& archive, const ZipEntry& entry) {
  ZipStreams& streams = zip_streams();
  if (!streams.seek(archive.stream, entry.localHeaderOffset, SEEK_SET)) {
    return fail(ZipError::seekingToHeader, archive, IO_FAILED);
  }
  unsigned char header[LOCAL_HEADER_SIZE];
  if (!read_exactly(archive.stream, header, sizeof header)) {
    return fail(ZipError::readingHeader, archive, IO_FAILED);
  }
  ByteCursor cursor(header, sizeof header);
  cursor.skip(LOCAL_NAME_LENGTH_OFFSET);
  const std::uint16_t name_length = cursor.u16();
  const std::uint16_t extra_length = cursor.u16();
  const std::int64_t data =
      std::int64_t{entry.localHeaderOffset} + LOCAL_HEADER_SIZE + name_length + extra_length;
  if (!streams.seek(archive.stream, data, SEEK_SET)) {
    return fail(ZipError::seekingToData, archive, IO_FAILED);
  }
  return OK;
}

int read_stored(const ZipArchive& archive, const ZipEntry& entry, unsigned char* destination) {
  // Equal sizes also keep the read within the destination's room.
  if (entry.compressedSize != entry.uncompressedSize) {
    return fail(ZipError::storedSizeDiffers, archive, INCONSISTENT);
  }
  if (const int result = zip_seek_data(archive, entry); result != OK) return result;
  if (!read_exactly(archive.stream, destination, entry.compressedSize)) {
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
bool inflate_chunks(ZipLog& log, std::FILE* stream, std::uint32_t compressedSize,
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
      const std::size_t got = zip_streams().read(stream, chunk.get(), wanted);
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
bool inflate_entry(ZipLog& log, std::FILE* stream, const ZipEntry& entry,
                   unsigned char* destination) {
  z_stream inflater{};
  unsigned char no_room = 0;  // zlib wants an output pointer even for empty data
  inflater.next_out = destination != nullptr ? destination : &no_room;
  inflater.avail_out = entry.uncompressedSize;
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
  if (entry.versionNeeded > NEWEST_VERSION_NEEDED) {
    return fail(ZipError::versionTooNew, archive, UNSUPPORTED);
  }
  if (entry.hostSystemNeeded != HOST_SYSTEM_MSDOS) {
    return fail(ZipError::systemUnsupported, archive, UNSUPPORTED);
  }
  if (entry.diskStart != archive.diskNumber) {
    return fail(ZipError::spanningDisks, archive, UNSUPPORTED);
  }
  if (const int result = zip_seek_data(archive, entry); result != OK) return result;
  if (!inflate_entry(*archive.log, archive.stream, entry, destination)) {
    return fail(ZipError::inflating, archive, INCONSISTENT);
  }
  return OK;
}

}  // namespace

int zip_read_entry(ZipArchive* archive, ZipEntry* entry, unsigned char* destination) {
  switch (entry->method) {
    case METHOD_STORED:
      return read_stored(*archive, *entry, destination);
    case METHOD_DEFLATED:
      return read_deflated(*archive, *entry, destination);
    default:
      return fail(ZipError::methodUnsupported, *archive, UNSUPPORTED);
  }
}
