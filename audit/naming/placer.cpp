#include "naming/placer.h"

#include <array>
#include <optional>

#include "catalogue/rom_database.h"
#include "naming/copy_bytes.h"
#include "naming/naming_messages.h"
#include "naming/rename_engine.h"
#include "run/failure_messages.h"
#include "run/run_state.h"
#include "system/file_system.h"

namespace {

// Copies written before their batch is synced and renamed into place.
constexpr std::size_t COPY_BATCH = 4096;

// The extensions under which a title counts as there for a copy.
constexpr std::array<const char*, 4> TITLE_EXTENSIONS = {".bin", ".a26", ".zip", ".7z"};

const RunOptions& options() {
  return run_state().options;
}

CopyState& copies() {
  return run_state().copy;
}

// The names of the target folder `folder`, listed on first use.
FoldedNames& names_in(const std::string& folder) {
  auto& known = run_state().rename.foldedNames;
  const auto found = known.find(folder);
  if (found != known.end()) return found->second;
  FoldedNames& names = known[folder];
  std::vector<DirectoryEntry> entries;
  const FsResult listed = file_system().list_directory(at_start(folder), entries);
  if (!listed.ok() && !listed.missing()) print_cannot_list(folder, listed);
  for (const DirectoryEntry& entry : entries) names.insert(entry.name);
  return names;
}

// A name a file may take in a target folder, looked up among the folder's
// names without regard to letter case.
class FolderName {
 public:
  explicit FolderName(const std::string& path)
      : path_(path), leaf_(leaf_start(path)), names_(names_in(folder_of(path))) {}

  // The path of the entry whose name equals this one but for letter case;
  // none when there is none.
  std::optional<std::string> holder() const { return holder_of(leaf()); }

  // The name is taken now.
  void take() { names_.emplace(leaf()); }

  // The entry that holds this name's title (the name without its extension)
  // under another of `extensions`; none when there is none.
  template <typename Extensions>
  std::optional<std::string> title_holder(const Extensions& extensions) const {
    const std::string own = name_extension(std::string(leaf()));
    std::string other(leaf().substr(0, leaf().size() - own.size()));
    const std::size_t stem = other.size();
    for (const char* extension : extensions) {
      if (FoldedEqual()(own, extension)) continue;
      other.replace(stem, std::string::npos, extension);
      if (auto holder = holder_of(other)) return holder;
    }
    return std::nullopt;
  }

 private:
  static std::size_t leaf_start(const std::string& path) {
    const std::size_t separator = path.rfind(PATH_SEPARATOR);
    return separator == std::string::npos ? 0 : separator + 1;
  }

  static std::string folder_of(const std::string& path) {
    const std::size_t start = leaf_start(path);
    return start == 0 ? std::string(".") : path.substr(0, start - 1);
  }

  std::string_view leaf() const { return std::string_view(path_).substr(leaf_); }

  std::optional<std::string> holder_of(std::string_view name) const {
    const auto found = names_.find(name);
    if (found == names_.end()) return std::nullopt;
    return path_.substr(0, leaf_) + *found;
  }

  const std::string& path_;
  std::size_t leaf_;  // where the name begins in path_
  FoldedNames& names_;
};

// What a copy is made of, with its size and CRC-32 (and, in a plan, the
// SHA-1 that stands in for the bytes it does not write).
struct Source {
  CopySource bytes;
  CopiedBytes digest;
};

bool same_digest(const CopiedBytes& left, const CopiedBytes& right) {
  return left.size == right.size && left.crc == right.crc && left.sha1 == right.sha1;
}

// Whether the file at `path` (given from the start folder) holds exactly the
// bytes of `source`. A copy this run planned is known by its digest, one it
// wrote and has not renamed yet by its temporary file. A file that cannot
// be read counts as other bytes, so that it is never taken for a copy.
bool holds_same(const std::string& path, const Source& source) {
  std::string held_at = path;
  const auto filled = copies().placed.find(path);
  if (filled != copies().placed.end()) {
    if (options().plan) return same_digest(filled->second.digest, source.digest);
    if (!filled->second.temporary.empty()) held_at = filled->second.temporary;
  }
  bool same = false;
  if (const FsResult compared = compare_with_file(source.bytes, at_start(held_at), same);
      !compared.ok()) {
    if (!compared.missing()) print_cannot_read(held_at, compared);
    return false;
  }
  return same;
}

enum class Tried { placed, already, taken, unreadable };

Tried say_already_there(const std::string& holder, const PlacedImage& image) {
  ++copies().alreadyThere;
  print_already_there(holder, image.shown.c_str());
  return Tried::already;
}

// Removes a temporary file of a copy this run created.
void remove_own_copy(const std::string& temporary) {
  // The failure said is the copy's; a temporary file that cannot go either
  // is named in the journal, for undo.
  (void)file_system().remove_file(at_start(temporary));
}

// Creates the temporary file of a copy to `target` beside it: the target's
// name with COPY_TEMPORARY_SUFFIX, or that with a number when an earlier
// one is there, which is no file of this run's and is left alone.
FsResult create_copy_file(const std::string& target, std::string& temporary, FileHandle& file) {
  constexpr int ATTEMPTS = 9;
  FsResult created;
  for (int attempt = 1; attempt <= ATTEMPTS; ++attempt) {
    temporary = target + COPY_TEMPORARY_SUFFIX + (attempt > 1 ? std::to_string(attempt) : "");
    created = file_system().open(at_start(temporary), "wbx", file, true);
    if (created.status != FsStatus::alreadyExists) return created;
  }
  return created;
}

// Writes the copy under a temporary name of its own, records it in the
// journal with that file's identity, and queues it for its batch. In a plan
// only the name is taken. Unreadable when the source could not be read.
Tried start_copy(const std::string& target, FolderName& name, const Source& source,
                 const PlacedImage& image) {
  CopyState& state = copies();
  name.take();
  if (options().plan) {
    state.placed[target] = {source.digest, std::string()};
    ++state.copied;
    return Tried::placed;
  }
  CopyRecord record{std::string(), target, source.digest.size, source.digest.crc, {}};
  FileHandle file;
  FsResult step = create_copy_file(target, record.temporary, file);
  if (step.ok()) step = file_system().identify(at_start(record.temporary), record.identity);
  if (step.ok() && state.recorder != nullptr) step = state.recorder->record_copy(record);
  if (!step.ok()) {
    if (file != nullptr) {
      file.reset();  // closed before it goes
      remove_own_copy(record.temporary);
    }
    if (step.status != FsStatus::refused)
      print_copy_failed(image.shown.c_str(), target, step, false);
    return Tried::placed;
  }
  CopyFailure why;
  if (!write_copy(*file, at_start(record.temporary), source.bytes, source.digest, why)) {
    remove_own_copy(record.temporary);
    print_copy_failed(image.shown.c_str(), target, why.failure, why.mismatch);
    return why.source ? Tried::unreadable : Tried::placed;
  }
  state.placed[target] = {source.digest, record.temporary};
  state.pending.push_back({std::move(record), image.shown});
  if (state.pending.size() >= COPY_BATCH) finish_placing();
  return Tried::placed;
}

// A move that failed for another reason leaves the file in place. A missing
// folder (a group folder that could not be made, a file gone meanwhile)
// passes without a word; any other failure is said.
void say_failed_move(const FsResult& moved, const std::string& from, const std::string& to) {
  if (moved.status == FsStatus::failed && !moved.missing()) print_cannot_move(from, to, moved);
}

Tried try_move(const std::string& candidate, const PlacedImage& image) {
  FolderName name(candidate);
  if (name.holder()) return Tried::taken;
  const FsResult moved = file_system().move_file(image.name, at_start(candidate));
  if (moved.status == FsStatus::alreadyExists || moved.status == FsStatus::accessDenied)
    return Tried::taken;
  say_failed_move(moved, image.name, candidate);
  if (moved.ok()) {
    name.take();
    note_found_image_moved(candidate);
  }
  return Tried::placed;
}

// Tries `candidate`: a free name takes the image, a name held by the same
// bytes (a copy) means it is there already, any other holder sends it on.
// `primary`: the catalogue name in 2600Ren, where a copy's title counts
// under any of its extensions.
Tried try_name(const std::string& candidate, const Source& source, const PlacedImage& image,
               Placing how, bool primary) {
  if (how == Placing::move) return try_move(candidate, image);
  FolderName name(candidate);
  if (const auto holder = name.holder()) {
    return holds_same(*holder, source) ? say_already_there(*holder, image) : Tried::taken;
  }
  if (primary) {
    if (const auto holder = name.title_holder(TITLE_EXTENSIONS))
      return say_already_there(*holder, image);
  }
  return start_copy(candidate, name, source, image);
}

// The duplicate name, then the counter names after it, until one takes the
// image or the names run out. Moves start after the last counter name this
// run filled, as the names before it are taken; a copy looks at each, as
// one of them may hold its bytes.
Tried place_in_dupes(const std::string& duplicate, const Source& source, const PlacedImage& image,
                     Placing how) {
  auto& last_counter_names = run_state().rename.lastCounterName;
  std::string candidate = duplicate;
  const auto known = last_counter_names.find(duplicate);
  if (how == Placing::move && known != last_counter_names.end()) {
    const char* next = next_counter_name(known->second);
    if (next == nullptr) return Tried::placed;
    candidate = next;
  }
  for (;;) {
    const Tried tried = try_name(candidate, source, image, how, false);
    if (tried != Tried::taken) {
      if (tried == Tried::placed && candidate != duplicate)
        last_counter_names[duplicate] = candidate;
      return tried;
    }
    const char* next = next_counter_name(candidate);
    if (next == nullptr) return Tried::placed;
    candidate = next;
  }
}

// The bytes of a copy and what they measure; false when they cannot be read.
bool read_source(const PlacedImage& image, Source& source) {
  if (image.data != nullptr) {
    source.bytes.data = image.data;
    source.bytes.size = image.size;
    // Bytes in memory were measured when they were identified; only a plan's
    // SHA-1 wants another pass.
    if (!options().plan) {
      source.digest.size = image.size;
      source.digest.crc = image.crc;
      return true;
    }
  } else {
    source.bytes.path = image.name;
  }
  if (const FsResult measured = measure_source(source.bytes, source.digest, options().plan != 0);
      !measured.ok()) {
    print_cannot_read(image.shown, measured);
    return false;
  }
  return true;
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
  const FsResult all = file_system().sync_all(at_start("."));
  if (all.ok()) return;
  std::vector<PendingCopy> synced;
  for (PendingCopy& copy : pending) {
    const FsResult done = all.unsupported() ? sync_file_at(at_start(copy.record.temporary)) : all;
    if (!done.ok()) {
      drop_copy(copy, done);
    } else {
      synced.push_back(std::move(copy));
    }
  }
  pending.swap(synced);
}

}  // namespace

void take_catalogued_image(int index, const PlacedImage& image, std::optional<Placing> how) {
  // A target folder that is a link stops every move and copy of the run.
  if (!prepare_targets() || run_state().rename.movesStopped) return;
  log_change(image.shown.c_str(), db_name(index));
  if (how && !place_image(index, image, *how)) return;
  ++rom_database().have[index];
}

bool copy_image(const char* crcText, const char* name, std::uint64_t size) {
  const int index = identified_entry(db_find_crc_text(crcText, 0));
  if (index < 0) return false;
  PlacedImage image;
  image.name = name;
  image.shown = found_file_path(run_state().found.folder, name, "");
  if (!run_state().dispatch.inMemory) {
    image.data = run_state().image.data.get();
    image.size = static_cast<std::size_t>(size);
    image.crc = rom_database().crcs[index];  // the CRC-32 that found the entry
  }
  take_catalogued_image(index, image, Placing::copy);
  return true;
}

bool place_image(int index, const PlacedImage& image, Placing how) {
  Source source;
  if (how == Placing::copy && !read_source(image, source)) return false;
  const auto target = rename_target(index, image.name);
  if (!target) {
    print_unusable_name(image.shown.c_str(), how == Placing::copy);
    return true;
  }
  const Tried tried = try_name(*target, source, image, how, true);
  if (tried != Tried::taken) return tried != Tried::unreadable;
  if (!options().quiet) print_already_exists(*target, image.shown.c_str());
  // A copy's source stays where it is, and so counts as had either way.
  if (!prepare_dupes_folder()) return how == Placing::copy;
  const auto duplicate = dupes_target(index, image.name);
  if (!duplicate) return true;
  return place_in_dupes(*duplicate, source, image, how) != Tried::unreadable;
}

void finish_placing() {
  std::vector<PendingCopy>& pending = copies().pending;
  if (pending.empty()) return;
  // Every copy of the batch is synced before the first is renamed into place.
  sync_batch(pending);
  for (const PendingCopy& copy : pending) {
    const FsResult moved =
        file_system().move_file(at_start(copy.record.temporary), at_start(copy.record.target));
    if (!moved.ok()) {
      drop_copy(copy, moved);
    } else {
      copies().placed[copy.record.target].temporary.clear();
      ++copies().copied;
    }
  }
  pending.clear();
}
