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

// Records the image the image buffer holds, `size` bytes, as found (see
// record_found_image), with the bankswitch scheme its entry names, else the
// one its bytes show. Only a run that records pays for the detection.
void record_buffered_image(std::uint32_t crc, std::size_t size, const std::string& name,
                           const std::string& member);

// The scan record's name: `name` without its last extension.
std::string scan_record_name(std::string_view name);

// With verify: false, after one line naming `shown` (else `name`), when no
// entry of the image's CRC-32 (the image buffer holds its `size` bytes) has
// its size and hash; the image is then recorded as refused. True when one
// has: run_state().verify.last.entry is that entry, which identified_entry
// gives the rest of the run. An image no entry names is not hashed.
bool passes_verify(std::uint32_t crc, const char* name, std::size_t size,
                   const char* shown = nullptr);
