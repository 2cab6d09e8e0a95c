#include "journal/journal_writer.h"

#include <algorithm>
#include <cstring>

#include "system/file_system.h"

namespace {

// Whether a non-empty `file` begins with the journal's first line.
bool begins_like_journal(FileStream& file) {
  const std::size_t size = std::strlen(JOURNAL_FIRST_LINE) + 1;
  std::string start(size, '\0');
  if (!file.seek(0, SEEK_SET).ok()) return false;
  if (file.read(start.data(), size) != size) return false;
  return start == std::string(JOURNAL_FIRST_LINE) + "\n";
}

// Whether the last byte of a non-empty `file` is a line end.
bool ends_with_line_end(FileStream& file) {
  char last = 0;
  return file.seek(-1, SEEK_END).ok() && file.read(&last, 1) == 1 && last == '\n';
}

// Where the last whole line of `file` (of `size` bytes) ends, just after its
// line end, looking back one line's length at most; -1 when none is that near.
std::int64_t end_of_last_line(FileStream& file, std::int64_t size) {
  const std::int64_t window = std::min<std::int64_t>(size, JOURNAL_LINE_LIMIT + 1);
  std::string tail(static_cast<std::size_t>(window), '\0');
  if (!file.seek(size - window, SEEK_SET).ok() ||
      file.read(tail.data(), tail.size()) != tail.size())
    return -1;
  const std::size_t last = tail.rfind('\n');
  return last == std::string::npos ? -1 : size - window + static_cast<std::int64_t>(last) + 1;
}

}  // namespace

JournalWriter::~JournalWriter() {
  close();
}

FsResult JournalWriter::open(const std::string& path) {
  close();
  failure_ = {};
  // Unbuffered: a record the disk did not take whole leaves nothing behind
  // that a later flush could add.
  if (const FsResult opened = file_system().open(path, "ab+", file_, true); !opened.ok()) {
    failure_ = opened;
    return opened;
  }
  if (const FsResult sought = file_->seek(0, SEEK_END); !sought.ok()) return give_up(sought);
  size_ = file_->tell();
  const bool empty = size_ == 0;
  if (!empty && !begins_like_journal(*file_)) {
    if (!file_->failure().ok()) return give_up(file_->failure());
    file_.reset();
    return fs_refused(path);
  }
  // A last line cut short is a record whose change was never made: it goes,
  // or, past the reach of one line, is ended as one damaged line.
  const bool cut_short = !empty && !ends_with_line_end(*file_);
  const std::int64_t whole = cut_short ? end_of_last_line(*file_, size_) : size_;
  // Between reading and writing a stream must be positioned; "a" mode then
  // puts every write at the end.
  FsResult written = file_->failure();
  if (written.ok()) written = file_->seek(0, SEEK_END);
  if (written.ok() && whole >= 0 && whole < size_) {
    written = file_->truncate(whole);
    size_ = whole;
  }
  if (written.ok() && empty && !write(std::string(JOURNAL_FIRST_LINE) + "\n")) written = failure_;
  if (written.ok() && whole < 0 && !write("\n")) written = failure_;
  if (written.ok()) return written;
  return give_up(written);
}

FsResult JournalWriter::give_up(const FsResult& failure) {
  remember(failure);
  file_.reset();
  return failure_;
}

void JournalWriter::remember(const FsResult& failure) {
  if (failure_.ok() && !failure.ok()) failure_ = failure;
}

bool JournalWriter::append(const JournalRecord& record, bool flush) {
  return file_ != nullptr && write(journal_line(record), flush);
}

bool JournalWriter::write(const std::string& text, bool flush) {
  FsResult written = write_text(*file_, text);
  if (written.ok() && flush) written = file_->flush();
  remember(written);
  if (written.ok()) {
    size_ += static_cast<std::int64_t>(text.size());
  } else {
    (void)file_->truncate(size_);  // the file ends at its last whole record, where it can
  }
  return written.ok();
}

bool JournalWriter::close(bool sync) {
  if (file_ == nullptr) return true;
  const FsResult synced = sync ? file_->sync() : file_->flush();
  const FsResult closed = file_->close();
  remember(synced);
  remember(closed);
  file_.reset();
  return synced.ok() && closed.ok();
}
