#include "files/file_chunks.h"

#include <zlib.h>

#include <memory>

namespace {

constexpr std::size_t CHUNK_SIZE = 256 * 1024;

}  // namespace

FsResult stream_file(const std::string& path, const ChunkSink& sink) {
  FileHandle file;
  if (const FsResult opened = file_system().open(path, "rb", file, true); !opened.ok())
    return opened;
  const std::unique_ptr<unsigned char[]> chunk(new unsigned char[CHUNK_SIZE]);
  for (;;) {
    const std::size_t count = file->read(chunk.get(), CHUNK_SIZE);
    if (count > 0) {
      if (const FsResult taken = sink(chunk.get(), count); !taken.ok()) return taken;
    }
    if (count < CHUNK_SIZE) break;
  }
  if (const FsResult failure = file->failure(); !failure.ok()) return failure;
  return file->close();
}

FsResult measure_file(const std::string& path, std::uint64_t& size, std::uint32_t& crc) {
  size = 0;
  crc = 0;
  return stream_file(path, [&](const unsigned char* data, std::size_t count) {
    crc = static_cast<std::uint32_t>(crc32(crc, data, static_cast<uInt>(count)));
    size += count;
    return FsResult{};
  });
}
