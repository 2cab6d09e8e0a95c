#pragma once
// Sample cartridge images for tests, the demo and the benchmarks: bytes that
// pass (or on purpose fail) the 2600 format test, with a CRC-32 of our
// choosing, so that real catalogue entries can be hit without shipping any
// cartridge data.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Rewrites the last four bytes so that the CRC-32 of all bytes becomes `crc`.
// Needs at least four bytes.
void force_crc32(std::vector<unsigned char>& bytes, std::uint32_t crc);

// An image of `size` bytes (at least 16) that starts like a 2600 program
// (CLD SEI LDX #$FF TXS), is filled from `seed` and has the CRC-32 `crc`.
std::vector<unsigned char> make_sample_image(std::uint32_t crc, std::size_t size,
                                             std::uint32_t seed = 0);

// Plain text of `size` bytes with the CRC-32 `crc` that no rule of the 2600
// format test accepts.
std::vector<unsigned char> make_foreign_image(std::uint32_t crc, std::size_t size);

// CRC-32 of the bytes, as zlib computes it.
std::uint32_t crc32_of(const std::vector<unsigned char>& bytes);

// Writes the bytes to `path`; returns false when the file cannot be written.
bool write_file(const std::string& path, const std::vector<unsigned char>& bytes);
