#pragma once
// An archive (ZIP or 7z) met by the walk, opened once for all its passes:
// count its images (and look for an emulator package), then choose the one
// image and extract it; or, for a pack of several images, count them (list)
// or copy them out (copy).

#include <cstdint>

#include "archive/archive_reader.h"

// Looks into the archive `name` of `format` in the current directory and
// chooses its image. Returns the size to identify with; run_state().dispatch
// tells whether there is one (in the image buffer, its CRC-32 checked, or a
// size no image has, which the identification refuses).
std::uint64_t dispatch_archive(const char* name, ArchiveFormat format);
