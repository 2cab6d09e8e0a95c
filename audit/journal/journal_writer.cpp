#include "journal/journal_writer.h"

#include <cstring>

#include "system/file_system.h"

namespace {

// Whether a non-empty `file` begins with the journal's first line.
bool begins_like_journal(FileStream& file) {
  const std::size_t size = std::strlen(JOURNAL_FIRST_LINE) + 1;
  std::string start(size, '\0');
  if (!file.seek(0, SEEK_SET)) return false;
  if (file.read(start.data(), size) != size) return false;
  return start == std::string(JOURNAL_FIRST_LINE) + "\n";
}

// Whether the last byte of a non-empty `file` is a line end.
bool ends_with_line_end(FileStream& file) {
  char last = 0;
  return file.seek(-1, SEEK_END) && file.read(&last, 1) == 1 && last == '\n';
}

}  // namespace

JournalWriter::~JournalWriter() {
  close();
}

JournalOpenFailure JournalWriter::open(const std::string& path) {
  close();
  file_ = file_system().open(path, "ab+");
  if (file_ == nullptr) return JournalOpenFailure::cannotOpen;
  const bool empty = !file_->seek(0, SEEK_END) || file_->tell() == 0;
  if (!empty && !begins_like_journal(*file_)) {
    file_.reset();
    return JournalOpenFailure::foreign;
  }
  const bool cut_short = !empty && !ends_with_line_end(*file_);
  // Between reading and writing a stream must be positioned; "a" mode then
  // puts every write at the end.
  bool written = file_->seek(0, SEEK_END);
  if (written && empty) written = write(std::string(JOURNAL_FIRST_LINE) + "\n");
  if (written && cut_short) written = write("\n");
  if (written) return JournalOpenFailure::none;
  file_.reset();
  return JournalOpenFailure::cannotWrite;
}

bool JournalWriter::append(const JournalRecord& record, bool flush) {
  return file_ != nullptr && write(journal_line(record), flush);
}

bool JournalWriter::write(const std::string& text, bool flush) {
  return write_text(*file_, text) && (!flush || file_->flush());
}

bool JournalWriter::close(bool sync) {
  if (file_ == nullptr) return true;
  const bool synced = sync ? file_->sync() : file_->flush();
  const bool closed = file_->close();
  file_.reset();
  return synced && closed;
}
