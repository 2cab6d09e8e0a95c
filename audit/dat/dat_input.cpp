#include "dat/dat_input.h"

#include <algorithm>

namespace {

constexpr std::size_t BLOCK_SIZE = 64 * 1024;

}  // namespace

DatInput::DatInput(FileStream& file) : file_(&file) {}

DatInput::DatInput(std::string_view bytes) : view_(bytes) {}

bool DatInput::fill() {
  if (!error_.empty()) return false;
  if (position_ < view_.size()) return true;
  if (file_ == nullptr) return false;
  consumed_ += view_.size();
  block_.resize(BLOCK_SIZE);
  const std::size_t count = file_->read(block_.data(), BLOCK_SIZE);
  block_.resize(count);
  view_ = block_;
  position_ = 0;
  if (count == 0 && !file_->failure().ok()) fail("read error (" + file_->failure().reason() + ")");
  return count > 0 && error_.empty();
}

int DatInput::peek_slowly() {
  if (!fill()) return -1;
  const auto byte = static_cast<unsigned char>(view_[position_]);
  if (byte == 0) {
    fail("NUL byte");
    return -1;
  }
  if (consumed_ + position_ >= DAT_FILE_LIMIT) {
    fail("file larger than 256 MiB");
    return -1;
  }
  return byte;
}

void DatInput::take_run(std::string& into, const std::array<bool, 256>& stops, std::size_t limit) {
  while (into.size() <= limit && peek() >= 0) {
    // The run ends within the block in hand, at a stop, the file cap or the
    // caller's limit; the next turn refills the block.
    std::size_t end = position_;
    const std::size_t last =
        std::min({view_.size(), position_ + (limit + 1 - into.size()), DAT_FILE_LIMIT - consumed_});
    while (end < last) {
      const auto byte = static_cast<unsigned char>(view_[end]);
      if (stops[byte] || byte == '\n' || byte == 0) break;
      ++end;
    }
    into.append(view_.data() + position_, end - position_);
    position_ = end;
    if (end < last) return;
  }
}

bool DatInput::take(std::string_view text) {
  // Nothing is taken when the first byte differs; a difference after it
  // means the markup is broken, which ends the input.
  for (std::size_t index = 0; index < text.size(); ++index) {
    if (peek() != static_cast<unsigned char>(text[index])) {
      if (index == 0) return false;
      fail("unexpected text");
      return false;
    }
    get();
  }
  return true;
}

void DatInput::skip_blanks() {
  while (is_dat_blank(peek())) get();
}

void DatInput::fail(std::string what) {
  fail_at(line_, std::move(what));
}

void DatInput::fail_at(int line, std::string what) {
  if (!error_.empty()) return;
  error_ = std::move(what);
  errorLine_ = line;
  // Nothing is left to read, for the inline path of peek() too.
  view_ = std::string_view();
  position_ = 0;
}
