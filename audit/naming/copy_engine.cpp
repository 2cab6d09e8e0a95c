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
// putting its waiting copies in place first. A file that cannot be read
// counts as other bytes, so that it is never taken for a copy.
Holder holder_of(const std::string& target, const CopySource& source, const CopiedBytes& bytes) {
  const auto& placed = copies().placed;
  const auto known = placed.find(target);
  if (known != placed.end() && run_state().options.plan) {
    const bool same = known->second.size == bytes.size && known->second.crc == bytes.crc;
    return same ? Holder::same : Holder::other;
  }
  if (known != placed.end() && !copies().pending.empty()) finish_copies();
  bool same = false;
  if (const FsResult compared = compare_with_file(source, target, same); !compared)
    return compared.missing() ? Holder::none : Holder::other;
  return same ? Holder::same : Holder::other;
}

// Writes the copy under its temporary name and queues it for the batch. In a
// plan only the name is taken.
void start_copy(const CopySource& source, const CopiedBytes& bytes, const std::string& target,
                const char* name) {
  CopyState& state = copies();
  if (run_state().options.plan) {
    state.placed[target] = bytes;
    ++state.copied;
    return;
  }
  PendingCopy copy;
  copy.record = {target + COPY_TEMPORARY_SUFFIX, target, bytes.size, bytes.crc};
  copy.source = name;
  if (state.recorder != nullptr && !state.recorder->record_copy(copy.record)) return;
  CopyFailure why;
  if (!write_copy(source, copy.record.temporary, bytes, why)) {
    print_copy_failed(name, target, why.failure, why.mismatch);
    return;
  }
  state.placed[target] = bytes;
  state.pending.push_back(std::move(copy));
  if (state.pending.size() >= COPY_BATCH) finish_copies();
}

void say_already_there(const std::string& target, const char* name) {
  ++copies().alreadyThere;
  print_already_there(target, name);
}

// The duplicate name, then the counter names after it, until one is free or
// holds the same bytes.
void copy_to_dupes(const CopySource& source, const CopiedBytes& bytes, const std::string& duplicate,
                   const char* name) {
  for (std::string candidate = duplicate;;) {
    const Holder holder = holder_of(candidate, source, bytes);
    if (holder == Holder::none) return start_copy(source, bytes, candidate, name);
    if (holder == Holder::same) return say_already_there(candidate, name);
    const char* next = next_counter_name(candidate);
    if (next == nullptr) return;
    candidate = next;
  }
}

void place_copy(int index, const CopySource& source, const char* name) {
  CopiedBytes bytes;
  if (const FsResult measured = measure_source(source, bytes); !measured) {
    return print_cannot_read(name, measured);
  }
  const auto target = rename_target(index, name);
  if (!target) return;
  const Holder holder = holder_of(*target, source, bytes);
  if (holder == Holder::none) return start_copy(source, bytes, *target, name);
  if (holder == Holder::same) return say_already_there(*target, name);
  if (!run_state().options.quiet) print_already_exists(*target, name);
  if (!prepare_dupes_folder()) return;
  if (const auto duplicate = dupes_target(index, name))
    copy_to_dupes(source, bytes, *duplicate, name);
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
  if (file_system().sync_all(".")) return;
  std::vector<PendingCopy> synced;
  for (PendingCopy& copy : pending) {
    if (const FsResult done = sync_file_at(copy.record.temporary); !done) {
      drop_copy(copy, done);
    } else {
      synced.push_back(std::move(copy));
    }
  }
  pending.swap(synced);
}

}  // namespace

bool copy_image(const char* crcText, const char* name, std::uint64_t size) {
  const int index = db_find_crc_text(crcText, 0);
  if (index < 0) return false;
  ++rom_database().have[index];
  if (!prepare_targets()) return true;
  log_change(name, db_name(index));
  CopySource source;
  if (run_state().dispatch.inMemory) {
    source.path = name;
  } else {
    source.data = run_state().image.data.get();
    source.size = static_cast<std::size_t>(size);
  }
  place_copy(index, source, name);
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
}
