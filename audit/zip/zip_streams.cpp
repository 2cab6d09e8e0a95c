#include "zip/zip_streams.h"

#include "system/file_system.h"

namespace {

ZipStreams real_streams;
ZipStreams* streams_in_use = &real_streams;

}  // namespace

std::FILE* ZipStreams::open(const char* path) {
  return open_file(path, "rb");
}

bool ZipStreams::seek(std::FILE* stream, std::int64_t offset, int whence) {
  return seek_file(stream, offset, whence);
}

std::int64_t ZipStreams::tell(std::FILE* stream) {
  return tell_file(stream);
}

std::size_t ZipStreams::read(std::FILE* stream, void* buffer, std::size_t count) {
  return std::fread(buffer, 1, count, stream);
}

bool read_exactly(std::FILE* stream, void* buffer, std::size_t count) {
  return count != 0 && zip_streams().read(stream, buffer, count) == count;
}

ZipStreams& zip_streams() {
  return *streams_in_use;
}

void use_zip_streams(ZipStreams* replacement) {
  streams_in_use = replacement != nullptr ? replacement : &real_streams;
}
