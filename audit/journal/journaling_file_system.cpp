#include "journal/journaling_file_system.h"

#include <cerrno>

namespace {

JournalRecord folder_record(const std::string& path) {
  JournalRecord record;
  record.kind = JournalRecordKind::folder;
  record.path = path;
  return record;
}

}  // namespace

JournalingFileSystem::JournalingFileSystem(FileSystem& inner, std::string journalPath,
                                           std::string time, std::string mode)
    : inner_(inner), sizes_(inner), path_(std::move(journalPath)) {
  run_.time = std::move(time);
  run_.mode = std::move(mode);
}

bool JournalingFileSystem::list_directory(const std::string& path,
                                          std::vector<DirectoryEntry>& entries) {
  if (!inner_.list_directory(path, entries)) return false;
  // The walk's listing gives the sizes of the files it will hand to the
  // engine, without asking the disk again.
  sizes_.remember(path, entries);
  return true;
}

FsStatus JournalingFileSystem::make_directory(const std::string& path) {
  const FsStatus status = inner_.make_directory(path);
  if (status != FsStatus::ok) return status;
  if (writer_.is_open()) {
    record(folder_record(path));
  } else {
    earlyFolders_.push_back(path);
  }
  return status;
}

bool JournalingFileSystem::record(const JournalRecord& record, bool flush) {
  if (writer_.append(record, flush)) return true;
  refusal_ = JournalOpenFailure::cannotWrite;
  wroteAll_ = false;
  return false;
}

bool JournalingFileSystem::start_journal() {
  if (writer_.is_open()) return true;
  if (refusal_ != JournalOpenFailure::none) return false;
  refusal_ = writer_.open(path_);
  if (refusal_ != JournalOpenFailure::none) return false;
  if (!record(run_)) return false;
  for (const std::string& folder : earlyFolders_) {
    if (!record(folder_record(folder))) return false;
  }
  earlyFolders_.clear();
  return true;
}

FsStatus JournalingFileSystem::move_file(const std::string& from, const std::string& to) {
  if (!start_journal() || refusal_ != JournalOpenFailure::none) return FsStatus::refused;
  const DirectoryEntry* source = sizes_.find(from);
  JournalRecord move;
  move.kind = JournalRecordKind::move;
  move.path = from;
  move.target = to;
  move.size = source != nullptr ? source->size : 0;
  if (!record(move)) return FsStatus::refused;
  const FsStatus status = inner_.move_file(from, to);
  if (status == FsStatus::ok) ++moves_;
  if (status != FsStatus::ok) {
    const int error = errno;
    // Goes out with the next record: a run killed before that leaves a
    // move on record that did not happen, which undo finds undone already.
    JournalRecord failed;
    failed.kind = JournalRecordKind::failed;
    record(failed, false);
    errno = error;
  }
  return status;
}

FsStatus JournalingFileSystem::remove_directory(const std::string& path) {
  return inner_.remove_directory(path);
}

bool JournalingFileSystem::allows_changes(const std::string& path) {
  return inner_.allows_changes(path);
}

bool JournalingFileSystem::finish() {
  if (!writer_.is_open()) return wroteAll_;
  return writer_.close() && wroteAll_;
}

FileHandle JournalingFileSystem::open(const std::string& path, const char* mode, bool wholeReads) {
  return inner_.open(path, mode, wholeReads);
}

bool JournalingFileSystem::replace_file(const std::string& from, const std::string& to) {
  return inner_.replace_file(from, to);
}

bool JournalingFileSystem::remove_file(const std::string& path) {
  return inner_.remove_file(path);
}

LockStatus JournalingFileSystem::lock(const std::string& path, LockHandle& held) {
  return inner_.lock(path, held);
}

void JournalingFileSystem::read_ahead(const std::vector<ReadAheadFile>& files) {
  inner_.read_ahead(files);
}
