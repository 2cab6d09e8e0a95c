#pragma once
// The one reader of hex digits, shared by every parser of CRCs, hashes and
// escaped names, and the one way a CRC-32 is written as text.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

// The value of a hex digit of either case; -1 for any other character.
inline int hex_value(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  return -1;
}

// Reads exactly 2 * N hex digits into `bytes`; false (and `bytes` unusable)
// for any other text.
template <std::size_t N>
bool parse_hex_bytes(std::string_view text, std::array<unsigned char, N>& bytes) {
  if (text.size() != 2 * N) return false;
  for (std::size_t index = 0; index < N; ++index) {
    const int high = hex_value(text[2 * index]);
    const int low = hex_value(text[2 * index + 1]);
    if (high < 0 || low < 0) return false;
    bytes[index] = static_cast<unsigned char>(high * 16 + low);
  }
  return true;
}

// A CRC-32 as the tool writes it everywhere: eight lowercase hex digits.
inline std::string crc_text(std::uint32_t crc) {
  char text[9];
  std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(crc));
  return text;
}

// Reads a CRC-32 written that way; nothing for any other text, capitals
// included.
inline std::optional<std::uint32_t> parse_crc_text(std::string_view text) {
  if (text.size() != 8) return std::nullopt;
  std::uint32_t crc = 0;
  for (const char digit : text) {
    const int nibble = hex_value(digit);
    if (nibble < 0 || (digit >= 'A' && digit <= 'F')) return std::nullopt;
    crc = crc << 4 | static_cast<std::uint32_t>(nibble);
  }
  return crc;
}
