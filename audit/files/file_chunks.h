#pragma once
// The one reader of a whole file in chunks, and the size and CRC-32 of a file
// read that way: for copies checked after writing and before undoing.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "system/file_system.h"

// Takes one chunk; a failure it returns stops the reading.
using ChunkSink = std::function<FsResult(const unsigned char* data, std::size_t size)>;

// Hands the file at `path` to `sink` a chunk at a time; the first failure of
// the file or of the sink.
FsResult stream_file(const std::string& path, const ChunkSink& sink);

// The size and CRC-32 of the file at `path`.
FsResult measure_file(const std::string& path, std::uint64_t& size, std::uint32_t& crc);
