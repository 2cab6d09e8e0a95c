#include "naming/copy_bytes.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "system/file_chunks.h"

namespace {

constexpr std::size_t CHUNK_SIZE = 256 * 1024;

FsResult stream_source(const CopySource& source, const ChunkSink& sink) {
  if (source.data != nullptr) return sink(source.data, source.size);
  return stream_file(source.path, sink);
}

ChunkSink measuring(CopiedBytes& bytes) {
  bytes = CopiedBytes{};
  return [&bytes](const unsigned char* data, std::size_t size) {
    bytes.crc = static_cast<std::uint32_t>(crc32(bytes.crc, data, static_cast<uInt>(size)));
    bytes.size += size;
    return FsResult{};
  };
}

bool same(const CopiedBytes& left, const CopiedBytes& right) {
  return left.size == right.size && left.crc == right.crc;
}

}  // namespace

FsResult measure_source(const CopySource& source, CopiedBytes& bytes) {
  return stream_source(source, measuring(bytes));
}

FsResult measure_file(const std::string& path, CopiedBytes& bytes) {
  return measure_file(path, bytes.size, bytes.crc);
}

FsResult compare_with_file(const CopySource& source, const std::string& path, bool& same) {
  FileHandle file;
  if (const FsResult opened = file_system().open(path, "rb", file, true); !opened.ok())
    return opened;
  same = true;
  const std::unique_ptr<unsigned char[]> chunk(new unsigned char[CHUNK_SIZE]);
  const FsResult streamed = stream_source(source, [&](const unsigned char* data, std::size_t size) {
    for (std::size_t done = 0; same && done < size;) {
      const std::size_t part = std::min(size - done, CHUNK_SIZE);
      same =
          file->read(chunk.get(), part) == part && std::memcmp(chunk.get(), data + done, part) == 0;
      done += part;
    }
    return FsResult{};
  });
  unsigned char after = 0;
  if (same && file->read(&after, 1) != 0) same = false;
  if (!streamed.ok()) return streamed;
  return file->failure();
}

bool write_copy(const CopySource& source, const std::string& temporary, const CopiedBytes& expected,
                CopyFailure& why) {
  why = CopyFailure{};
  FileHandle file;
  why.failure = file_system().open(temporary, "wb", file, true);
  if (why.failure.ok()) {
    bool written = true;
    why.failure = stream_source(source, [&](const unsigned char* data, std::size_t size) {
      const FsResult write = file->write(data, size);
      written = write.ok();
      return write;
    });
    why.source = written && !why.failure.ok();
    const FsResult closed = file->close();
    if (why.failure.ok()) why.failure = closed;
  }
  CopiedBytes written;
  if (why.failure.ok()) why.failure = measure_file(temporary, written);
  why.mismatch = why.failure.ok() && !same(written, expected);
  if (why.failure.ok() && !why.mismatch) return true;
  (void)file_system().remove_file(temporary);  // the copy's failure is the one to say
  return false;
}

FsResult sync_file_at(const std::string& path) {
  FileHandle file;
  if (const FsResult opened = file_system().open(path, "ab", file); !opened.ok()) return opened;
  const FsResult synced = file->sync();
  const FsResult closed = file->close();
  return synced.ok() ? closed : synced;
}
