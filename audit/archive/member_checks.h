#pragma once
// The checks every member's data pass before they count, whichever reader
// produced them.

#include <cstddef>
#include <cstdint>

#include "archive/archive_reader.h"

// Success when `size` bytes with CRC-32 `crc` are what `claimed` describes:
// the same size and, when the archive gives one, the same CRC-32.
ZipResult member_data_agree(const ArchiveMember& claimed, std::size_t size, std::uint32_t crc);
