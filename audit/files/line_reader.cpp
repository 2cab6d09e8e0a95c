#include "files/line_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

LineReader::Result LineReader::next(std::string& line, std::size_t keep, bool& tooLong) {
  line.clear();
  tooLong = false;
  start_ = offset_;
  while (at_ < filled_ || refill()) {
    const char* begin = block_ + at_;
    const auto* end = static_cast<const char*>(std::memchr(begin, '\n', filled_ - at_));
    const std::size_t piece = end != nullptr ? end - begin : filled_ - at_;
    const std::size_t room = keep - line.size();
    if (piece > room) tooLong = true;
    line.append(begin, std::min(piece, room));
    const std::size_t used = piece + (end != nullptr ? 1 : 0);
    at_ += used;
    offset_ += static_cast<std::int64_t>(used);
    if (end != nullptr) return Result::line;
  }
  return offset_ == start_ ? Result::end : Result::unended;
}

bool LineReader::seek(std::int64_t offset, std::uint64_t number) {
  offset_ = start_ = offset;
  number_ = number;
  at_ = filled_ = 0;
  return file_.seek(offset, SEEK_SET).ok();
}

bool LineReader::refill() {
  at_ = 0;
  filled_ = file_.read(block_, sizeof block_);
  return filled_ > 0;
}
