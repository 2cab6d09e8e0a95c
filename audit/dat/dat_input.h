#pragma once
// The bytes of one DAT file as its parsers read them: one byte at a time,
// with the line number, from a file (read in blocks, never held whole) or
// from memory. A NUL byte or a file longer than the cap ends the input with a
// sticky error, so every parser meets hostile input as an early end.

#include <array>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "system/file_system.h"

// The largest DAT the tool reads.
inline constexpr std::size_t DAT_FILE_LIMIT = 256u * 1024 * 1024;

class DatInput {
 public:
  // Reads `file` (not closed here).
  explicit DatInput(FileStream& file);
  // Reads `bytes`, which must outlive the input.
  explicit DatInput(std::string_view bytes);

  // The next byte, or -1 at the end or after an error.
  int get() {
    const int byte = peek();
    if (byte < 0) return byte;
    ++position_;
    if (byte == '\n') ++line_;
    return byte;
  }
  // The next byte without taking it, or -1.
  int peek() {
    // The common case stays inline: a byte in hand, no NUL, under the cap.
    if (position_ < view_.size() && view_[position_] != 0 && consumed_ + position_ < DAT_FILE_LIMIT)
      return static_cast<unsigned char>(view_[position_]);
    return peek_slowly();
  }
  // Takes bytes into `into` up to the first byte marked in `stops` (a line
  // end and a NUL always stop), the end, or until `into` holds more than
  // `limit` bytes, which the caller then refuses.
  void take_run(std::string& into, const std::array<bool, 256>& stops, std::size_t limit);
  // True when `text` comes next; takes it then.
  bool take(std::string_view text);
  // Takes blanks (space, tab, CR, LF).
  void skip_blanks();
  // The line of the next byte, from 1.
  int line() const { return line_; }
  // Why the input ended early; empty when it did not.
  const std::string& error() const { return error_; }
  int error_line() const { return errorLine_; }
  // Ends the input with `what` at the current line (the first error stays).
  void fail(std::string what);
  // The same, naming `line` (where the fault began).
  void fail_at(int line, std::string what);

 private:
  bool fill();
  int peek_slowly();

  FileStream* file_ = nullptr;
  std::string block_;
  std::string_view view_;
  std::size_t position_ = 0;
  std::size_t consumed_ = 0;  // bytes of earlier blocks
  int line_ = 1;
  std::string error_;
  int errorLine_ = 0;
};

// True for the blanks of both formats.
inline bool is_dat_blank(int character) {
  return character == ' ' || character == '\t' || character == '\r' || character == '\n';
}
