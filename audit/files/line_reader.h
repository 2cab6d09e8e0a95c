#pragma once
// The one reader of text files by lines: the have list, ValdInfo.cfg and the
// undo journal. It reads a FileStream in blocks and never keeps more of a
// line than its caller asks for, whatever the file holds.

#include <cstddef>
#include <cstdint>
#include <string>

#include "system/file_system.h"

class LineReader {
 public:
  explicit LineReader(FileStream& file) : file_(file) {}

  enum class Result { line, unended, end };  // unended: a last line without '\n'

  // Reads the next line into `line` without its '\n' (a '\r' before it is
  // kept). Only the first `keep` bytes are kept; `tooLong` tells whether more
  // were consumed and dropped.
  Result next(std::string& line, std::size_t keep, bool& tooLong);

  // Where the line last read began, as a file offset.
  std::int64_t start() const { return start_; }

  // Lines counted so far, by the caller's count_line.
  std::uint64_t number() const { return number_; }
  void count_line() { ++number_; }

  // Goes to `offset`, taking `number` as the count of lines before it.
  // False when the file cannot seek there.
  bool seek(std::int64_t offset, std::uint64_t number);

 private:
  bool refill();

  FileStream& file_;
  char block_[64 * 1024];
  std::size_t at_ = 0;
  std::size_t filled_ = 0;
  std::int64_t offset_ = 0;
  std::int64_t start_ = 0;
  std::uint64_t number_ = 0;
};
