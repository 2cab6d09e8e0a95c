#include "scan/walk_read_ahead.h"

#include "archive/archive_reader.h"
#include "scan/file_kinds.h"
#include "scan/identify.h"

bool walk_reads_whole(const DirectoryEntry& entry) {
  if (entry.isDirectory || entry.isLink || entry.isSpecial) return false;
  const char* name = entry.name.c_str();
  if (name_has_extension(EXTENSIONS_2600, name)) {
    return entry.size >= MIN_IMAGE_SIZE && entry.size <= MAX_IMAGE_SIZE;
  }
  const bool archive = name_has_extension(EXTENSIONS_ARCHIVE, name) ||
                       (name_has_extension(EXTENSIONS_SEVEN_ZIP, name) && libarchive_available());
  return archive && entry.size > 0 && entry.size <= READ_AHEAD_ARCHIVE_LIMIT;
}

void ReadAheadWindow::pass(std::size_t index) {
  while (!ahead_.empty() && ahead_.front() < index) {
    aheadBytes_ -= entries_[ahead_.front()].size;
    ahead_.pop_front();
  }
  if (next_ <= index) next_ = index + 1;  // the file in hand is read at once
}

void ReadAheadWindow::reach(std::size_t index) {
  pass(index);
  // Asking in half windows keeps the calls few and each batch worth its look.
  if (ahead_.size() > READ_AHEAD_FILES / 2 || aheadBytes_ > READ_AHEAD_BYTES / 2) return;
  std::vector<ReadAheadFile> batch;
  for (; next_ < entries_.size() && ahead_.size() < READ_AHEAD_FILES; ++next_) {
    const DirectoryEntry& entry = entries_[next_];
    if (!walk_reads_whole(entry)) continue;
    if (aheadBytes_ + entry.size > READ_AHEAD_BYTES) break;
    ahead_.push_back(next_);
    aheadBytes_ += entry.size;
    batch.push_back({entry.name, entry.size});
  }
  if (!batch.empty()) file_system().read_ahead(batch);
}
