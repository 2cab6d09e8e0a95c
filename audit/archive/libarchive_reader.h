#pragma once
// The libarchive side of archive_reader.h: 7z archives, and single ZIP
// members whose compression method the own reader lacks.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "archive/archive_reader.h"

// A reader over the 7z archive `path`; nullptr (reported) when libarchive
// cannot open it or this build has no libarchive.
std::unique_ptr<ArchiveReader> open_seven_zip(const char* path, ZipLog& log);

// Reads the member `claimed.name` of the ZIP archive `path` through libarchive
// as ArchiveReader::read_member does, checking the data against the size and
// CRC-32 the own reader found in the directory. False (reported) when the
// member is missing, cannot be decoded, or fails a check.
bool read_zip_member_through_libarchive(const char* path, ZipLog& log, const ArchiveMember& claimed,
                                        unsigned char* destination, std::size_t limit,
                                        std::size_t& size, std::uint32_t& crc);
