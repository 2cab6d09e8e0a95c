#pragma once
// The placer: the one routine that puts an identified image in its place,
// for rename and move (the file is moved) and for copy (a copy is written).
// It chooses the name: the catalogue name in 2600Ren, else, when a file of
// that name is there (compared without regard to letter case, so that the
// folder survives a system that does not tell case apart), the name in
// 2600Dupes and the counter names after it. A copy whose name holds the
// same bytes is already there, and so is one whose title 2600Ren holds under
// another image or archive extension. A copy is written under a temporary
// name it creates, read back and checked, recorded, synced with the copies
// of its batch and only then renamed into place; nothing ever replaces a
// file. A plan goes through the same steps against a disk that only
// pretends, and so says what the run would do, line for line.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "run/copy_state.h"

// moved; copied; or copied into the staging folder, to be placed once every
// image of the run is known.
enum class Placing { move, copy, stage };

// An identified image: the file `name` of the walk's current folder (moved,
// or copied whole when `data` is null: an archive), or the `size` bytes at
// `data` (a loose image read, or an archive's member).
struct PlacedImage {
  const char* name = nullptr;
  std::string shown;  // as messages name it: its path from the start folder
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  std::uint32_t crc = 0;  // the CRC-32 of the bytes at `data`, which identified them
};

// What every catalogued image goes through in the modes that count: the
// target folders prepared once, the change-log line, the image placed as
// `how` says (not at all in list mode), and the copy counted.
void take_catalogued_image(int index, const PlacedImage& image, std::optional<Placing> how);

// Handles one identified image of the copy mode: `crcText` is its CRC as
// eight lowercase hex digits, `name` the file it was found in (an archive
// copied whole when run_state().dispatch.inMemory is set; else the image
// buffer holds its `size` bytes). Returns whether it is catalogued.
bool copy_image(const char* crcText, const char* name, std::uint64_t size);

// Places the image of catalogue entry `index` as `how` says. Returns false
// when the image must not be counted: 2600Dupes could not be made, or the
// source of a copy could not be read.
bool place_image(int index, const PlacedImage& image, Placing how);

// Syncs the copies written so far, together, and renames them into place.
void finish_placing();

// Places an image staged before under its catalogue name in 2600Ren, else
// in 2600Dupes, as a copy made at once would have gone; one that goes
// nowhere is dropped.
void place_staged_image(const StagedImage& staged);

// What came of placing a staged image at an exact name.
enum class Placement { placed, already, taken };

// Places a staged image at `target`, given from the target root: already
// (said) when a file of the same bytes holds the name, taken (said) when
// another file does.
Placement place_staged_at(const StagedImage& staged, const std::string& target);

// Writes `bytes` as a new file at `target` (from the target root), through
// the same steps as a copy: already (said) when a file of the same bytes
// holds the name, taken (said) when another file does. `shown` names it.
Placement place_bytes_at(const std::string& target, std::string_view bytes,
                         const std::string& shown);

// The same, but a file of other bytes at `target` goes aside first (to
// "NAME.vald-old"), as a move undo takes back: how a run's own list beside
// the images (a playlist, a game list) replaces the one there.
Placement replace_whole_file(const std::string& target, std::string_view bytes,
                             const std::string& shown);

// Where a run stages its copies: the out folder, else 2600Ren (from the
// target root).
std::string staging_root();
