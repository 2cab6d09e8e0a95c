#pragma once
// The checks every member's data pass before they count, whichever reader
// produced them.

#include <cstddef>
#include <cstdint>

#include "archive/archive_reader.h"

// True when `size` bytes with CRC-32 `crc` are what `claimed` describes: the
// same size and, when the archive gives one, the same CRC-32. Otherwise the
// difference is reported against `path` in `log` and the result is false.
bool member_data_agree(ZipLog& log, const char* path, const ArchiveMember& claimed,
                       std::size_t size, std::uint32_t crc);
