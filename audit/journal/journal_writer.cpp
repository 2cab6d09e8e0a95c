#include "journal/journal_writer.h"

#include <cstring>

#include "system/file_sync.h"
#include "system/file_system.h"

namespace {

// Whether a non-empty `file` begins with the journal's first line.
bool begins_like_journal(std::FILE* file) {
  const std::size_t size = std::strlen(JOURNAL_FIRST_LINE) + 1;
  std::string start(size, '\0');
  if (std::fseek(file, 0, SEEK_SET) != 0) return false;
  if (std::fread(start.data(), 1, size, file) != size) return false;
  return start == std::string(JOURNAL_FIRST_LINE) + "\n";
}

// Whether the last byte of a non-empty `file` is a line end.
bool ends_with_line_end(std::FILE* file) {
  return std::fseek(file, -1, SEEK_END) == 0 && std::getc(file) == '\n';
}

}  // namespace

JournalWriter::~JournalWriter() {
  close();
}

JournalOpenFailure JournalWriter::open(const std::string& path) {
  close();
  file_ = open_file(path, "ab+");
  if (file_ == nullptr) return JournalOpenFailure::cannotOpen;
  const bool empty = std::fseek(file_, 0, SEEK_END) != 0 || std::ftell(file_) == 0;
  if (!empty && !begins_like_journal(file_)) {
    std::fclose(file_);
    file_ = nullptr;
    return JournalOpenFailure::foreign;
  }
  const bool cut_short = !empty && !ends_with_line_end(file_);
  // Between reading and writing a stream must be positioned; "a" mode then
  // puts every write at the end.
  bool written = std::fseek(file_, 0, SEEK_END) == 0;
  if (written && empty) written = write(std::string(JOURNAL_FIRST_LINE) + "\n");
  if (written && cut_short) written = write("\n");
  if (written) return JournalOpenFailure::none;
  std::fclose(file_);
  file_ = nullptr;
  return JournalOpenFailure::cannotWrite;
}

bool JournalWriter::append(const JournalRecord& record, bool flush) {
  return file_ != nullptr && write(journal_line(record), flush);
}

bool JournalWriter::write(const std::string& text, bool flush) {
  return std::fwrite(text.data(), 1, text.size(), file_) == text.size() &&
         (!flush || std::fflush(file_) == 0);
}

bool JournalWriter::close(bool sync) {
  if (file_ == nullptr) return true;
  const bool synced = sync ? sync_file(file_) : std::fflush(file_) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return synced && closed;
}
