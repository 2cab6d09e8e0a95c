#include "naming/copy_bytes.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "files/file_chunks.h"
#include "system/image_hashes.h"

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

std::uint32_t crc_of_bytes(const unsigned char* data, std::size_t size) {
  return static_cast<std::uint32_t>(crc32(0L, data, static_cast<uInt>(size)));
}

FsResult read_whole_source(const CopySource& source, std::string& whole) {
  whole.clear();
  return stream_source(source, [&whole](const unsigned char* data, std::size_t size) {
    whole.append(reinterpret_cast<const char*>(data), size);
    return FsResult{};
  });
}

FsResult measure_source(const CopySource& source, CopiedBytes& bytes, bool sha1) {
  if (!sha1) return stream_source(source, measuring(bytes));
  // A plan's digest: the SHA-1 wants the whole source, so it is read whole
  // (an image, or an archive holding one).
  std::string whole;
  if (const FsResult read = read_whole_source(source, whole); !read.ok()) return read;
  const auto* data = reinterpret_cast<const unsigned char*>(whole.data());
  bytes.size = whole.size();
  bytes.crc = static_cast<std::uint32_t>(crc32(0L, data, static_cast<uInt>(whole.size())));
  bytes.sha1 = sha1_of(data, whole.size());
  return {};
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

bool write_copy(FileStream& file, const std::string& path, const CopySource& source,
                const CopiedBytes& expected, CopyFailure& why) {
  why = CopyFailure{};
  bool written = true;
  why.failure = stream_source(source, [&](const unsigned char* data, std::size_t size) {
    const FsResult write = file.write(data, size);
    written = write.ok();
    return write;
  });
  why.source = written && !why.failure.ok();
  const FsResult closed = file.close();
  if (why.failure.ok()) why.failure = closed;
  CopiedBytes read_back;
  if (why.failure.ok()) why.failure = measure_file(path, read_back.size, read_back.crc);
  why.mismatch = why.failure.ok() && !same(read_back, expected);
  return why.failure.ok() && !why.mismatch;
}

FsResult sync_file_at(const std::string& path) {
  FileHandle file;
  if (const FsResult opened = file_system().open(path, "ab", file); !opened.ok()) return opened;
  const FsResult synced = file->sync();
  const FsResult closed = file->close();
  return synced.ok() ? closed : synced;
}
