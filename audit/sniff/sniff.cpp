#include "sniff/sniff.h"

#include <array>
#include <cstdint>
#include <utility>

namespace {

// 6502 opcodes the start-up sequences and the instruction count look for.
constexpr unsigned char CLD = 0xD8;
constexpr unsigned char SEI = 0x78;
constexpr unsigned char LDX_IMMEDIATE = 0xA2;
constexpr unsigned char TXS = 0x9A;
constexpr std::array<unsigned char, 6> COMMON_OPCODES = {
    0x78,  // SEI
    0xA9,  // LDA immediate
    0xA5,  // LDA zero page
    0x60,  // RTS
    0x4C,  // JMP absolute
    0x8D,  // STA absolute
};
constexpr int COMMON_OPCODES_NEEDED = 5;
constexpr std::size_t STARTUP_SEARCH_POSITIONS = 512;

using ByteAt = std::pair<std::size_t, unsigned char>;
using Signature = std::array<ByteAt, 4>;

// True when every listed offset lies within the image and holds its byte.
template <typename Expected>
bool bytes_match(const unsigned char* bytes, std::size_t length, const Expected& expected) {
  for (const auto& [offset, value] : expected) {
    if (offset >= length || bytes[offset] != value) return false;
  }
  return true;
}

bool has_known_signature(const unsigned char* bytes, std::size_t length) {
  static constexpr Signature signatures[] = {
      Signature{{{0, 0xA5}, {1, 0x81}, {2, 0x85}, {16, 0x02}}},
      Signature{{{0, 0x4C}, {1, 0x0C}, {2, 0xD4}, {16, 0x8E}}},
      Signature{{{258, 0x8D}, {261, 0x08}, {262, 0x8D}, {263, 0xED}}},
      Signature{{{0, 0xDF}, {1, 0xA7}, {2, 0x07}, {16, 0x57}}},
      Signature{{{48, 0x29}, {64, 0xA2}, {80, 0x0F}, {96, 0x06}}},
      Signature{{{0, 0xA2}, {1, 0x20}, {2, 0xA2}, {16, 0xF6}}},
  };
  for (const auto& signature : signatures) {
    if (bytes_match(bytes, length, signature)) return true;
  }
  return false;
}

// A start-up sequence: CLD, then `second` right after it and TXS at
// `txs_distance` from the CLD, starting within the first 512 positions.
bool has_startup_sequence(const unsigned char* bytes, std::size_t length, unsigned char second,
                          std::size_t txs_distance) {
  for (std::size_t start = 0; start < STARTUP_SEARCH_POSITIONS; ++start) {
    const std::array<ByteAt, 3> sequence = {
        {{start, CLD}, {start + 1, second}, {start + txs_distance, TXS}}};
    if (bytes_match(bytes, length, sequence)) {
      return true;
    }
  }
  return false;
}

bool has_common_opcodes(const unsigned char* bytes, std::size_t length) {
  std::array<bool, 256> seen{};
  for (std::size_t offset = 0; offset < length; ++offset) seen[bytes[offset]] = true;
  int found = 0;
  for (const unsigned char opcode : COMMON_OPCODES) found += seen[opcode] ? 1 : 0;
  return found >= COMMON_OPCODES_NEEDED;
}

}  // namespace

bool sniff_2600_image(const unsigned char* bytes, std::size_t length) {
  return has_known_signature(bytes, length) || has_startup_sequence(bytes, length, SEI, 4) ||
         has_startup_sequence(bytes, length, LDX_IMMEDIATE, 3) || has_common_opcodes(bytes, length);
}
