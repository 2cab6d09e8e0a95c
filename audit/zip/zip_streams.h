#pragma once
// The stream calls of the ZIP reader, behind one seam so that tests can make
// a seek or a read fail where a real file never would.

#include <cstddef>
#include <cstdint>
#include <cstdio>

class ZipStreams {
 public:
  virtual ~ZipStreams() = default;

  // Opens `path` for reading in binary mode; nullptr when it does not open.
  virtual std::FILE* open(const char* path);

  // fseeko; false when the seek fails.
  virtual bool seek(std::FILE* stream, std::int64_t offset, int whence);

  // ftello; negative when the position cannot be told.
  virtual std::int64_t tell(std::FILE* stream);

  // fread of `count` bytes; returns how many were read.
  virtual std::size_t read(std::FILE* stream, void* buffer, std::size_t count);
};

// The streams in use: the real ones unless a test installed others.
ZipStreams& zip_streams();

// Reads exactly `count` bytes through zip_streams(); false when fewer arrive.
// A read of nothing counts as failed: an empty central directory or an empty
// stored entry has nothing a caller could use.
bool read_exactly(std::FILE* stream, void* buffer, std::size_t count);

// Installs `replacement` (nullptr: the real ones again). The caller keeps it alive.
void use_zip_streams(ZipStreams* replacement);
