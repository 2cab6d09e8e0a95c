#include "naming/copy_engine.h"

#include <optional>

#include "catalogue/rom_database.h"
#include "naming/copy_bytes.h"
#include "naming/naming_messages.h"
#include "naming/rename_engine.h"
#include "run/failure_messages.h"
#include "run/run_state.h"
#include "system/file_system.h"

namespace {

// Copies written before their batch is synced and put in place.
constexpr std::size_t COPY_BATCH = 4096;

CopyState& copies() {
  return run_state().copy;
}

enum class Holder { none, same, other };

// Who holds `target`: nobody, the same bytes, or other ones. A plan answers
// for the names it filled by size and CRC-32; a real run compares bytes,
// with the temporary file of a copy still waiting for its batch. A file that
// cannot be read counts as other bytes, so that it is never taken for a copy.
Holder holder_of(const std::string& target, const CopySource& source, const CopiedBytes& bytes) {
  const auto& placed = copies().placed;
  const auto known = placed.find(target);
  if (known != placed.end() && run_state().options.plan) {
    const bool same = known->second.size == bytes.size && known->second.crc == bytes.crc;
    return same ? Holder::same : Holder::other;
  }
  const bool waiting = copies().waiting.count(target) > 0;
  const std::string held_at = waiting ? target + COPY_TEMPORARY_SUFFIX : target;
  bool same = false;
  if (const FsResult compared = compare_with_file(source, held_at, same); !compared) {
    if (compared.missing()) return Holder::none;
    print_cannot_read(held_at, compared);
    return Holder::other;
  }
  return same ? Holder::same : Holder::other;
}

// Writes the copy under its temporary name and queues it for the batch. In a
// plan only the name is taken. False when the source could not be read.
bool start_copy(const CopySource& source, const CopiedBytes& bytes, const std::string& target,
                const char* name) {
  CopyState& state = copies();
  if (run_state().options.plan) {
    state.placed[target] = bytes;
    ++state.copied;
    return true;
  }
  PendingCopy copy;
  copy.record = {target + COPY_TEMPORARY_SUFFIX, target, bytes.size, bytes.crc};
  copy.source = name;
  if (state.recorder != nullptr && !state.recorder->record_copy(copy.record)) return true;
  CopyFailure why;
  if (!write_copy(source, copy.record.temporary, bytes, why)) {
    print_copy_failed(name, target, why.failure, why.mismatch);
    return !why.source;
  }
  state.placed[target] = bytes;
  state.waiting.insert(target);
  state.pending.push_back(std::move(copy));
  if (state.pending.size() >= COPY_BATCH) finish_copies();
  return true;
}

bool say_already_there(const std::string& target, const char* name) {
  ++copies().alreadyThere;
  print_already_there(target, name);
  return true;
}

// The duplicate name, then the counter names after it, until one is free or
// holds the same bytes. False when the source could not be read.
bool copy_to_dupes(const CopySource& source, const CopiedBytes& bytes, const std::string& duplicate,
                   const char* name) {
  for (std::string candidate = duplicate;;) {
    const Holder holder = holder_of(candidate, source, bytes);
    if (holder == Holder::none) return start_copy(source, bytes, candidate, name);
    if (holder == Holder::same) return say_already_there(candidate, name);
    const char* next = next_counter_name(candidate);
    if (next == nullptr) return true;
    candidate = next;
  }
}

// Copies the image to its target, or to 2600Dupes. False when the source
// could not be read whole: the image is then not counted.
bool place_copy(int index, const CopySource& source, const char* name) {
  CopiedBytes bytes;
  if (const FsResult measured = measure_source(source, bytes); !measured) {
    print_cannot_read(name, measured);
    return false;
  }
  const auto target = rename_target(index, name);
  if (!target) return true;
  const Holder holder = holder_of(*target, source, bytes);
  if (holder == Holder::none) return start_copy(source, bytes, *target, name);
  if (holder == Holder::same) return say_already_there(*target, name);
  if (!run_state().options.quiet) print_already_exists(*target, name);
  const auto duplicate = dupes_target(index, name);
  if (!prepare_dupes_folder() || run_state().rename.movesStopped || !duplicate) return true;
  return copy_to_dupes(source, bytes, *duplicate, name);
}

// Drops a copy that cannot be put in place, with its temporary file.
void drop_copy(const PendingCopy& copy, const FsResult& failure) {
  file_system().remove_file(copy.record.temporary);
  copies().placed.erase(copy.record.target);
  print_copy_failed(copy.source.c_str(), copy.record.target, failure, false);
}

// Syncs the batch: all at once where the system can, else file by file. The
// copies that could not be synced are dropped.
void sync_batch(std::vector<PendingCopy>& pending) {
  const FsResult all = file_system().sync_all(".");
  if (all) return;
  std::vector<PendingCopy> synced;
  for (PendingCopy& copy : pending) {
    if (const FsResult done = all.unsupported() ? sync_file_at(copy.record.temporary) : all;
        !done) {
      drop_copy(copy, done);
    } else {
      synced.push_back(std::move(copy));
    }
  }
  pending.swap(synced);
}

}  // namespace

bool copy_image(const char* crcText, const char* name, std::uint64_t size) {
  const int index = identified_entry(db_find_crc_text(crcText, 0));
  if (index < 0) return false;
  // A target folder that is a link stops every copy, as it stops moves.
  if (!prepare_targets() || run_state().rename.movesStopped) return true;
  log_change(name, db_name(index));
  CopySource source;
  if (run_state().dispatch.inMemory) {
    source.path = name;
  } else {
    source.data = run_state().image.data.get();
    source.size = static_cast<std::size_t>(size);
  }
  if (place_copy(index, source, name)) ++rom_database().have[index];
  return true;
}

void finish_copies() {
  std::vector<PendingCopy>& pending = copies().pending;
  if (pending.empty()) return;
  // Every copy of the batch is synced before the first is put in place.
  sync_batch(pending);
  for (const PendingCopy& copy : pending) {
    if (const FsResult moved = file_system().move_file(copy.record.temporary, copy.record.target);
        !moved) {
      drop_copy(copy, moved);
    } else {
      ++copies().copied;
    }
  }
  pending.clear();
  copies().waiting.clear();
}
