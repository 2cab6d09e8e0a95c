#pragma once
// A stream that takes every write and keeps nothing: where the fuzz targets
// send "Vald_ZIP.txt", so that every log line is still formatted and
// written, at no cost in disk space.

#include <memory>

#include "system/file_system.h"

class DiscardingStream final : public FileStream {
 public:
  std::size_t read(void*, std::size_t) override { return 0; }
  FsResult seek(std::int64_t, int) override { return {}; }
  std::int64_t tell() override { return 0; }
  FsResult write(const void*, std::size_t) override { return {}; }
  FsResult flush() override { return {}; }
  FsResult sync() override { return {}; }
  FsResult failure() const override { return {}; }
  FsResult truncate(std::int64_t) override { return {}; }
  FsResult close() override { return {}; }
};

inline FileHandle open_discarding() {
  return std::make_unique<DiscardingStream>();
}
