#pragma once
// Identification of one image: size and format checks, CRC-32, and by mode
// the rename engine and a record in the scan log 2600Scan.txt.

#include <cstdint>
#include <string>
#include <string_view>

// Smallest and largest size of a 2600 image, in bytes.
inline constexpr std::uint64_t MIN_IMAGE_SIZE = 1024;
inline constexpr std::uint64_t MAX_IMAGE_SIZE = 132096;

// Identifies the image `name` (for an archive member: the archive's name) of
// `size` bytes. Unless the dispatch state says the image is already in memory
// the file is read from the current directory. Problems are printed and the
// image skipped.
void identify_image(const char* name, std::uint64_t size);

// The scan record's name: `name` without its last extension.
std::string scan_record_name(std::string_view name);

// With verify: false, after one line naming `shown` (else `name`), when the
// entry the image's CRC-32 names (the image buffer holds its `size` bytes)
// has another size or hash; the image is then recorded as refused. An image
// no entry names is not hashed.
bool passes_verify(std::uint32_t crc, const char* name, std::size_t size,
                   const char* shown = nullptr);
