#pragma once
// The copy engine: puts a copy of every catalogued image into 2600Ren under
// the name the rename engine would give it, and never changes the source.
// A name held by the same bytes is left as it is; held by other bytes, the
// copy goes to 2600Dupes. Each copy is written under a temporary name beside
// its target, read back and checked, recorded, synced with the copies of
// its batch and only then put in place, never over another file.

#include <cstdint>
#include <string>

// Handles one identified image: `crcText` is its CRC as eight lowercase hex
// digits, `name` the file it was found in (an archive copied whole when
// run_state().dispatch.inMemory is set; else the image buffer holds its
// `size` bytes). Counts it like list does. Returns whether it is catalogued.
bool copy_image(const char* crcText, const char* name, std::uint64_t size);

// Syncs the copies written so far and puts them in place.
void finish_copies();
