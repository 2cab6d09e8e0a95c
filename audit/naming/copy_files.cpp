#include "naming/copy_files.h"

#include <cstdio>

#include "naming/naming_messages.h"
#include "naming/rename_engine.h"
#include "run/failure_messages.h"
#include "run/run_state.h"
#include "system/file_system.h"

namespace {

// Copies written before their batch is synced and renamed into place.
constexpr std::size_t COPY_BATCH = 4096;

// Where copies wait for their place, below the target root.
constexpr char STAGING_FOLDER[] = ".vald-staging";

CopyState& copies() {
  return run_state().copy;
}

bool planned() {
  return run_state().options.plan != 0;
}

// Removes a file of a copy this run created.
void remove_own_copy(const std::string& temporary) {
  // The failure said is the copy's; a temporary file that cannot go either
  // is named in the journal, for undo.
  (void)file_system().remove_file(in_target(temporary));
}

// Creates the temporary file of a copy to `target`: `near` with
// COPY_TEMPORARY_SUFFIX, or that with a number when an earlier one is there,
// which is no file of this run's and is left alone.
FsResult create_copy_file(const std::string& near, std::string& temporary, FileHandle& file) {
  constexpr int ATTEMPTS = 9;
  FsResult created;
  for (int attempt = 1; attempt <= ATTEMPTS; ++attempt) {
    temporary = near + COPY_TEMPORARY_SUFFIX + (attempt > 1 ? std::to_string(attempt) : "");
    created = file_system().open(in_target(temporary), "wbx", file, true);
    if (created.status != FsStatus::alreadyExists) return created;
  }
  return created;
}

// Makes the file of a copy to `target` and writes `input` into it: created
// under a temporary name beside `near`, identified, recorded in the
// journal, written, read back and checked. `record` tells what was made.
CopyStart write_copy_file(const std::string& target, const std::string& near,
                          const CopyInput& input, const std::string& shown, CopyRecord& record) {
  record = CopyRecord{std::string(), target, input.digest.size, input.digest.crc, {}};
  FileHandle file;
  FsResult step = create_copy_file(near, record.temporary, file);
  if (step.ok()) step = file_system().identify(in_target(record.temporary), record.identity);
  if (step.ok() && copies().recorder != nullptr) step = copies().recorder->record_copy(record);
  if (!step.ok()) {
    if (file != nullptr) {
      file.reset();  // closed before it goes
      remove_own_copy(record.temporary);
    }
    if (step.status != FsStatus::refused) print_copy_failed(shown.c_str(), target, step, false);
    return CopyStart::failed;
  }
  CopyFailure why;
  if (!write_copy(*file, in_target(record.temporary), input.bytes, input.digest, why)) {
    remove_own_copy(record.temporary);
    print_copy_failed(shown.c_str(), target, why.failure, why.mismatch);
    return why.source ? CopyStart::unreadable : CopyStart::failed;
  }
  return CopyStart::queued;
}

// Drops a copy that cannot be put in place, with its temporary file.
void drop_copy(const PendingCopy& copy, const FsResult& failure) {
  remove_own_copy(copy.record.temporary);
  copies().placed.erase(copy.record.target);
  print_copy_failed(copy.source.c_str(), copy.record.target, failure, false);
}

// Syncs the batch: all at once where the system can, else file by file. The
// copies that could not be synced are dropped.
void sync_batch(std::vector<PendingCopy>& pending) {
  const FsResult all = file_system().sync_all(in_target("."));
  if (all.ok()) return;
  std::vector<PendingCopy> synced;
  for (PendingCopy& copy : pending) {
    const FsResult done = all.unsupported() ? sync_file_at(in_target(copy.record.temporary)) : all;
    if (!done.ok()) {
      drop_copy(copy, done);
    } else {
      synced.push_back(std::move(copy));
    }
  }
  pending.swap(synced);
}

// Holds the bytes of a staged copy in memory, up to a bound for all of the
// run's: true when they are held.
bool hold_bytes(const CopyInput& input, StagedCopy& staged) {
  constexpr std::size_t HELD_BYTES = 256u << 20;
  std::size_t& held = copies().heldBytes;
  if (held + input.digest.size > HELD_BYTES) return false;
  if (!read_whole_source(input.bytes, staged.held).ok()) {
    staged.held.clear();
    return false;
  }
  held += staged.held.size();
  return true;
}

std::string staging_folder(const std::string& root) {
  return root.empty() ? std::string(STAGING_FOLDER) : join_path(root, STAGING_FOLDER);
}

// A new name in the staging folder under `root`, made when missing; empty,
// said, when the folder cannot be made.
std::string staging_file(const std::string& root) {
  const std::string folder = staging_folder(root);
  if (!planned() && !prepare_folder(folder)) return std::string();
  char number[16];
  std::snprintf(number, sizeof number, "%06d", ++copies().stagedFiles);
  return join_path(folder, number);
}

}  // namespace

CopyStart start_copy(const std::string& target, const CopyInput& input, const std::string& shown) {
  CopyState& state = copies();
  if (planned()) {
    state.placed[target] = {input.digest, std::string()};
    ++state.copied;
    return CopyStart::queued;
  }
  // A copy staged before is written afresh, into the staging folder, now
  // that its place is known: copies are made, and renamed into place, in
  // the order a menu shows them; the file the walk staged goes.
  const bool staged = input.staged != nullptr;
  const std::string near = staged ? staging_file(input.staged->root) : target;
  if (near.empty()) return CopyStart::failed;
  CopyRecord record;
  const CopyStart started = write_copy_file(target, near, input, shown, record);
  if (staged) drop_staged(*input.staged);
  if (started != CopyStart::queued) return started;
  state.placed[target] = {input.digest, record.temporary};
  state.pending.push_back({std::move(record), shown});
  if (state.pending.size() >= COPY_BATCH) finish_copies();
  return CopyStart::queued;
}

bool stage_copy(const std::string& root, const CopyInput& input, const std::string& shown,
                StagedCopy& staged) {
  staged = StagedCopy{std::string(), {}, input.digest, std::string(), root};
  // Bytes held in memory want no file; past the bound they wait in one (a
  // plan then keeps their digest alone).
  if (hold_bytes(input, staged) || planned()) return true;
  const std::string file = staging_file(root);
  if (file.empty()) return false;
  CopyRecord record;
  if (write_copy_file(file, file, input, shown, record) != CopyStart::queued) return false;
  staged.temporary = std::move(record.temporary);
  staged.identity = record.identity;
  return true;
}

void drop_staged(const StagedCopy& staged) {
  if (!staged.temporary.empty()) remove_own_copy(staged.temporary);
}

void remove_staging_folder(const std::string& root) {
  if (planned() || copies().stagedFiles == 0) return;
  // A folder that still holds anything stays; its files are in the journal.
  (void)file_system().remove_directory(in_target(staging_folder(root)));
}

void finish_copies() {
  std::vector<PendingCopy>& pending = copies().pending;
  if (pending.empty()) return;
  // Every copy of the batch is synced before the first is renamed into place.
  sync_batch(pending);
  for (const PendingCopy& copy : pending) {
    const FsResult moved =
        file_system().move_file(in_target(copy.record.temporary), in_target(copy.record.target));
    if (!moved.ok()) {
      drop_copy(copy, moved);
    } else {
      copies().placed[copy.record.target].temporary.clear();
      ++copies().copied;
    }
  }
  pending.clear();
}
