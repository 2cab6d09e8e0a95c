#include "sample_images.h"

#include <zlib.h>

#include <array>
#include <cstdio>

namespace {

std::array<std::uint32_t, 256> make_crc_table() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t index = 0; index < 256; ++index) {
    std::uint32_t value = index;
    for (int bit = 0; bit < 8; ++bit) value = (value & 1) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
    table[index] = value;
  }
  return table;
}

const std::array<std::uint32_t, 256>& crc_table() {
  static const std::array<std::uint32_t, 256> table = make_crc_table();
  return table;
}

// The table entry whose top byte is `top_byte`; each top byte occurs once.
std::uint32_t table_index_with_top_byte(std::uint32_t top_byte) {
  for (std::uint32_t index = 0; index < 256; ++index) {
    if ((crc_table()[index] >> 24) == top_byte) return index;
  }
  return 0;  // not reached: the CRC-32 table is a permutation of top bytes
}

}  // namespace

std::uint32_t crc32_of(const std::vector<unsigned char>& bytes) {
  return static_cast<std::uint32_t>(crc32(0L, bytes.data(), static_cast<uInt>(bytes.size())));
}

void force_crc32(std::vector<unsigned char>& bytes, std::uint32_t crc) {
  const std::size_t prefix = bytes.size() - 4;
  // Register value after the prefix (zlib's result is the inverted register).
  std::uint32_t state =
      ~static_cast<std::uint32_t>(crc32(0L, bytes.data(), static_cast<uInt>(prefix)));

  // After four more bytes the register is made only of four table entries;
  // find them from the wanted final register, last byte first.
  std::array<std::uint32_t, 4> indexes{};
  std::uint32_t wanted = ~crc;
  for (int step = 3; step >= 0; --step) {
    indexes[step] = table_index_with_top_byte(wanted >> 24);
    wanted = (wanted ^ crc_table()[indexes[step]]) << 8;
  }
  // Then choose each byte so that it selects its table entry.
  for (int step = 0; step < 4; ++step) {
    bytes[prefix + step] = static_cast<unsigned char>((state ^ indexes[step]) & 0xFF);
    state = (state >> 8) ^ crc_table()[indexes[step]];
  }
}

std::vector<unsigned char> make_sample_image(std::uint32_t crc, std::size_t size,
                                             std::uint32_t seed) {
  static const unsigned char startup[] = {0xD8, 0x78, 0xA2, 0xFF, 0x9A};
  std::vector<unsigned char> bytes(size);
  std::uint32_t noise = seed * 2654435761u + 12345u;
  for (std::size_t index = 0; index < size; ++index) {
    noise = noise * 1103515245u + 12345u;
    bytes[index] = static_cast<unsigned char>(noise >> 16);
  }
  for (std::size_t index = 0; index < sizeof startup && index < size; ++index) {
    bytes[index] = startup[index];
  }
  force_crc32(bytes, crc);
  return bytes;
}

std::vector<unsigned char> make_foreign_image(std::uint32_t crc, std::size_t size) {
  // No byte of this text is one of the instructions the format test counts.
  static const char text[] = "Just some words here, a plain note for a reader.\n";
  std::vector<unsigned char> bytes(size);
  for (std::size_t index = 0; index < size; ++index) {
    bytes[index] = static_cast<unsigned char>(text[index % (sizeof text - 1)]);
  }
  force_crc32(bytes, crc);
  return bytes;
}

bool write_file(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}
