#include "naming/placer.h"

#include <array>
#include <optional>

#include "catalogue/rom_database.h"
#include "naming/copy_bytes.h"
#include "naming/copy_files.h"
#include "naming/folder_names.h"
#include "naming/naming_messages.h"
#include "naming/rename_engine.h"
#include "run/failure_messages.h"
#include "run/run_state.h"
#include "sniff/bankswitch.h"
#include "system/file_system.h"

namespace {

// The extensions under which a title counts as there for a copy.
constexpr std::array<const char*, 4> TITLE_EXTENSIONS = {".bin", ".a26", ".zip", ".7z"};

const RunOptions& options() {
  return run_state().options;
}

CopyState& copies() {
  return run_state().copy;
}

bool same_digest(const CopiedBytes& left, const CopiedBytes& right) {
  return left.size == right.size && left.crc == right.crc && left.sha1 == right.sha1;
}

// Whether the file at `path` (given from the start folder) holds exactly the
// bytes of `source`. A copy this run planned is known by its digest, one it
// wrote and has not renamed yet by its temporary file. A file that cannot
// be read counts as other bytes, so that it is never taken for a copy.
bool holds_same(const std::string& path, const CopyInput& source) {
  std::string held_at = path;
  const auto filled = copies().placed.find(path);
  if (filled != copies().placed.end()) {
    if (options().plan) return same_digest(filled->second.digest, source.digest);
    if (!filled->second.temporary.empty()) held_at = filled->second.temporary;
  }
  bool same = false;
  FsResult compared;
  if (source.bytes.data == nullptr && source.bytes.path.empty()) {
    // A plan staged nothing: the file there is known by its digest too.
    CopiedBytes held;
    compared = measure_source(CopySource{nullptr, 0, in_target(held_at)}, held, true);
    same = same_digest(held, source.digest);
  } else {
    compared = compare_with_file(source.bytes, in_target(held_at), same);
  }
  if (!compared.ok()) {
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

// A move that failed for another reason leaves the file in place. A missing
// folder (a group folder that could not be made, a file gone meanwhile)
// passes without a word; any other failure is said.
void say_failed_move(const FsResult& moved, const std::string& from, const std::string& to) {
  if (moved.status == FsStatus::failed && !moved.missing()) print_cannot_move(from, to, moved);
}

Tried try_move(const std::string& candidate, const PlacedImage& image) {
  FolderName name(candidate);
  if (name.holder()) return Tried::taken;
  const FsResult moved = file_system().move_file(image.name, in_target(candidate));
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
Tried try_name(const std::string& candidate, const CopyInput& source, const PlacedImage& image,
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
  name.take();
  switch (start_copy(candidate, source, image.shown)) {
    case CopyStart::queued:
      return Tried::placed;
    case CopyStart::unreadable:
      return Tried::unreadable;
    case CopyStart::failed:
      break;
  }
  return Tried::placed;
}

// The duplicate name, then the counter names after it, until one takes the
// image or the names run out. Moves start after the last counter name this
// run filled, as the names before it are taken; a copy looks at each, as
// one of them may hold its bytes.
Tried place_in_dupes(const std::string& duplicate, const CopyInput& source,
                     const PlacedImage& image, Placing how) {
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
bool read_source(const PlacedImage& image, CopyInput& source) {
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

// Moves the file at `path` aside, beside it, to a name no file has: its
// name with ".vald-old" (and a number when that is taken). False, said,
// when it cannot go.
bool set_aside(const std::string& path) {
  constexpr int ATTEMPTS = 9;
  for (int attempt = 1; attempt <= ATTEMPTS; ++attempt) {
    const std::string aside = path + ".vald-old" + (attempt > 1 ? std::to_string(attempt) : "");
    FolderName aside_name(aside);
    if (aside_name.holder()) continue;
    const FsResult moved = file_system().move_file(in_target(path), in_target(aside));
    if (moved.status == FsStatus::alreadyExists) continue;
    if (!moved.ok()) {
      print_cannot_move(path, aside, moved);
      return false;
    }
    aside_name.take();
    FolderName(path).release();
    return true;
  }
  return false;
}

// A staged image as the source of its copy.
CopyInput staged_input(const StagedImage& staged) {
  CopyInput input;
  if (!staged.copy.temporary.empty()) {
    input.bytes.path = in_target(staged.copy.temporary);
  } else if (!staged.copy.held.empty()) {
    input.bytes.data = reinterpret_cast<const unsigned char*>(staged.copy.held.data());
    input.bytes.size = staged.copy.held.size();
  }
  input.digest = staged.copy.digest;
  input.staged = &staged.copy;
  return input;
}

// Places an image whose bytes are known: its catalogue name in 2600Ren, else
// 2600Dupes and the counter names. False when it must not be counted.
bool place_source(int index, const PlacedImage& image, const CopyInput& source, Placing how,
                  bool archive) {
  const auto target = rename_target(index, image.name, archive);
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
  // An export copies an archive's image, as a player reads no archive.
  const bool exports = !run_state().options.exportTarget.empty();
  if (!run_state().dispatch.inMemory || (exports && run_state().dispatch.dataCrcKnown)) {
    image.data = run_state().image.data.get();
    image.size = static_cast<std::size_t>(size);
    image.crc = rom_database().crcs[index];  // the CRC-32 that found the entry
  }
  // One image per game, or an export's layout, is known only once every
  // image is: until then the copies wait in the staging folder.
  const RunOptions& options = run_state().options;
  const bool staged = options.oneGame || !options.exportTarget.empty();
  take_catalogued_image(index, image, staged ? Placing::stage : Placing::copy);
  return true;
}

bool place_image(int index, const PlacedImage& image, Placing how) {
  CopyInput source;
  if (how != Placing::move && !read_source(image, source)) return false;
  if (how != Placing::stage)
    return place_source(index, image, source, how, run_state().dispatch.inMemory);
  const char* catalogued = db_entry_scheme(index);
  const Scheme scheme = image.data != nullptr ? image_scheme(catalogued, image.data, image.size)
                                              : scheme_named(catalogued);
  StagedImage staged{index, image.shown, image.name, image.data == nullptr, scheme_name(scheme),
                     {}};
  if (!stage_copy(staging_root(), source, image.shown, staged.copy)) return true;
  copies().staged.push_back(std::move(staged));
  return true;
}

void place_staged_image(const StagedImage& staged) {
  PlacedImage image;
  image.name = staged.name.c_str();
  image.shown = staged.shown;
  const CopyInput source = staged_input(staged);
  if (!place_source(staged.entry, image, source, Placing::copy, staged.archive))
    drop_staged(staged.copy);
}

Placement place_staged_at(const StagedImage& staged, const std::string& target) {
  PlacedImage image;
  image.name = staged.name.c_str();
  image.shown = staged.shown;
  switch (try_name(target, staged_input(staged), image, Placing::copy, false)) {
    case Tried::placed:
      return Placement::placed;
    case Tried::already:
      return Placement::already;
    default:
      if (!options().quiet) print_already_exists(target, staged.shown.c_str());
      return Placement::taken;
  }
}

Placement place_bytes_at(const std::string& target, std::string_view bytes,
                         const std::string& shown) {
  PlacedImage image;
  image.name = shown.c_str();
  image.shown = shown;
  image.data = reinterpret_cast<const unsigned char*>(bytes.data());
  image.size = bytes.size();
  image.crc = crc_of_bytes(image.data, image.size);
  CopyInput source;
  if (!read_source(image, source)) return Placement::taken;
  switch (try_name(target, source, image, Placing::copy, false)) {
    case Tried::placed:
      return Placement::placed;
    case Tried::already:
      return Placement::already;
    default:
      if (!options().quiet) print_already_exists(target, shown.c_str());
      return Placement::taken;
  }
}

Placement replace_whole_file(const std::string& target, std::string_view bytes,
                             const std::string& shown) {
  FolderName name(target);
  if (const auto holder = name.holder()) {
    CopyInput source;
    source.bytes.data = reinterpret_cast<const unsigned char*>(bytes.data());
    source.bytes.size = bytes.size();
    if (holds_same(*holder, source)) return Placement::already;
    // The file there goes aside under a name of its own, as a move undo
    // takes back, and the new one takes its place.
    if (!set_aside(*holder)) return Placement::taken;
  }
  return place_bytes_at(target, bytes, shown);
}

std::string staging_root() {
  return run_state().directories.out.empty() ? std::string(RENAME_TARGET_DIR) : std::string();
}

void finish_placing() {
  finish_copies();
}
