#pragma once
// Reads little-endian fields from a block of bytes without ever leaving it.
// A read that would pass the end marks the cursor failed; from then on every
// read gives 0 (or nullptr), so a caller decodes a whole record and checks
// ok() once.

#include <cstddef>
#include <cstdint>

class ByteCursor {
 public:
  ByteCursor(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t u8() { return static_cast<std::uint8_t>(little_endian(1)); }
  std::uint16_t u16() { return static_cast<std::uint16_t>(little_endian(2)); }
  std::uint32_t u32() { return static_cast<std::uint32_t>(little_endian(4)); }
  std::uint64_t u64() {
    const std::uint64_t low = u32();
    return low | (std::uint64_t{u32()} << 32);
  }

  // The next `count` bytes, or nullptr (and failed) when fewer remain.
  const unsigned char* bytes(std::size_t count) {
    if (!take(count)) return nullptr;
    return data_ + position_ - count;
  }

  void skip(std::size_t count) { take(count); }

  bool ok() const { return ok_; }
  std::size_t position() const { return position_; }
  std::size_t remaining() const { return size_ - position_; }

 private:
  bool take(std::size_t count) {
    if (!ok_ || count > size_ - position_) {
      ok_ = false;
      return false;
    }
    position_ += count;
    return true;
  }

  std::uint32_t little_endian(std::size_t width) {
    const unsigned char* field = bytes(width);
    if (field == nullptr) return 0;
    std::uint32_t value = 0;
    for (std::size_t index = width; index > 0; --index) value = (value << 8) | field[index - 1];
    return value;
  }

  const unsigned char* data_;
  std::size_t size_;
  std::size_t position_ = 0;
  bool ok_ = true;
};
