#include "journal/journal_writer.h"

#include <cerrno>
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
  error_ = 0;
  file_ = file_system().open(path, "ab+");
  if (file_ == nullptr) {
    error_ = errno;
    return JournalOpenFailure::cannotOpen;
  }
  if (!file_->seek(0, SEEK_END)) return give_up();
  const bool empty = file_->tell() == 0;
  if (!empty && !begins_like_journal(*file_)) {
    if (file_->error() != 0) return give_up();
    file_.reset();
    return JournalOpenFailure::foreign;
  }
  const bool cut_short = !empty && !ends_with_line_end(*file_);
  // Between reading and writing a stream must be positioned; "a" mode then
  // puts every write at the end.
  bool written = file_->error() == 0 && file_->seek(0, SEEK_END);
  if (written && empty) written = write(std::string(JOURNAL_FIRST_LINE) + "\n");
  if (written && cut_short) written = write("\n");
  if (written) return JournalOpenFailure::none;
  return give_up();
}

JournalOpenFailure JournalWriter::give_up() {
  error_ = file_->error() != 0 ? file_->error() : errno;
  file_.reset();
  return JournalOpenFailure::cannotWrite;
}

bool JournalWriter::append(const JournalRecord& record, bool flush) {
  return file_ != nullptr && write(journal_line(record), flush);
}

bool JournalWriter::write(const std::string& text, bool flush) {
  if (write_text(*file_, text) && (!flush || file_->flush())) return true;
  if (error_ == 0) error_ = file_->error();
  return false;
}

bool JournalWriter::close(bool sync) {
  if (file_ == nullptr) return true;
  const bool synced = sync ? file_->sync() : file_->flush();
  const bool closed = file_->close();
  if (error_ == 0) error_ = file_->error();
  file_.reset();
  return synced && closed;
}
