#include "journal/journaling_file_system.h"

namespace {

JournalRecord folder_record(const std::string& path) {
  JournalRecord record;
  record.kind = JournalRecordKind::folder;
  record.path = path;
  return record;
}

}  // namespace

JournalingFileSystem::JournalingFileSystem(FileSystem& inner, const std::string& folder,
                                           std::string start, std::string time, std::string mode)
    : ForwardingFileSystem(inner),
      sizes_(inner, std::move(start), folder),
      path_(join_path(folder, UNDO_JOURNAL_NAME)) {
  run_.time = std::move(time);
  run_.mode = std::move(mode);
}

FsResult JournalingFileSystem::list_directory(const std::string& path,
                                              std::vector<DirectoryEntry>& entries) {
  FsResult listed = inner().list_directory(path, entries);
  // The walk's listing gives the sizes of the files it will hand to the
  // engine, without asking the disk again.
  if (listed.ok()) sizes_.remember(path, entries);
  return listed;
}

FsResult JournalingFileSystem::make_directory(const std::string& path) {
  FsResult status = inner().make_directory(path);
  if (!status.ok()) return status;
  if (writer_.is_open()) {
    record(folder_record(sizes_.key(path)));
  } else {
    earlyFolders_.push_back({path, sizes_.key(path)});
  }
  return status;
}

FsResult JournalingFileSystem::enter_directory(const std::string& name, DirectoryMark& left) {
  FsResult entered = inner().enter_directory(name, left);
  if (entered.ok()) sizes_.entered(name);
  return entered;
}

FsResult JournalingFileSystem::leave_directory(const DirectoryMark& left, const std::string& path) {
  FsResult back = inner().leave_directory(left, path);
  if (back.ok()) sizes_.left();
  return back;
}

FsResult JournalingFileSystem::change_directory(const std::string& path) {
  FsResult changed = inner().change_directory(path);
  if (changed.ok()) sizes_.changed_to(path);
  return changed;
}

bool JournalingFileSystem::record(const JournalRecord& record, bool flush) {
  if (writer_.append(record, flush)) return true;
  if (refusal_.ok()) refusal_ = writer_.failure().ok() ? fs_io_failure(path_) : writer_.failure();
  wroteAll_ = false;
  return false;
}

bool JournalingFileSystem::start_journal() {
  if (writer_.is_open()) return true;
  if (!refusal_.ok()) return false;
  refusal_ = writer_.open(path_);
  if (!refusal_.ok()) return false;
  if (!record(run_)) return false;
  for (const EarlyFolder& folder : earlyFolders_) {
    if (!record(folder_record(folder.key))) return false;
  }
  earlyFolders_.clear();
  return true;
}

FsResult JournalingFileSystem::record_copy(const CopyRecord& copy) {
  if (!start_journal() || !refusal_.ok()) return fs_refused(copy.temporary);
  JournalRecord line;
  line.kind = JournalRecordKind::copy;
  line.path = copy.temporary;
  line.target = copy.target;
  line.size = copy.size;
  line.crc = copy.crc;
  line.identity = copy.identity;
  line.identityKnown = true;
  if (!record(line)) return fs_refused(copy.temporary);
  copying_.insert(sizes_.key(copy.temporary));
  return {};
}

FsResult JournalingFileSystem::move_file(const std::string& from, const std::string& to) {
  std::string from_key = sizes_.key(from);
  if (!copying_.empty() && copying_.erase(from_key) > 0) {
    // The copy's own record stands for it: undo removes what it finds there.
    FsResult placed = inner().move_file(from, to);
    if (placed.ok()) ++moves_;
    return placed;
  }
  if (!start_journal() || !refusal_.ok()) return fs_refused(from);
  const DirectoryEntry* source = sizes_.find_key(from_key);
  JournalRecord move;
  move.kind = JournalRecordKind::move;
  move.path = std::move(from_key);
  move.target = sizes_.key(to);
  move.size = source != nullptr ? source->size : 0;
  if (!record(move)) return fs_refused(from);
  FsResult status = inner().move_file(from, to);
  if (status.ok()) {
    ++moves_;
  } else {
    // Goes out with the next record: a run killed before that leaves a
    // move on record that did not happen, which undo finds undone already.
    JournalRecord failed;
    failed.kind = JournalRecordKind::failed;
    record(failed, false);
  }
  return status;
}

bool JournalingFileSystem::finish() {
  // A run that moved nothing takes away the folders it made for the moves.
  for (auto folder = earlyFolders_.rbegin(); folder != earlyFolders_.rend(); ++folder) {
    // A folder that cannot go stays, empty; nothing in it was ours.
    (void)inner().remove_directory(folder->path);
  }
  earlyFolders_.clear();
  if (!writer_.is_open()) return wroteAll_;
  return writer_.close() && wroteAll_;
}
