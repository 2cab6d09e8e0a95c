#pragma once
// The two passes over an archive (ZIP or 7z): count its images (and look
// for an emulator package), then choose the one image and extract it.

#include <cstdint>

#include "archive/archive_reader.h"

// Looks into the archive `name` of `format` in the current directory and
// chooses its image. Returns the size to identify with; run_state().dispatch
// tells whether there is one (in the image buffer, its CRC-32 checked, or a
// size no image has, which the identification refuses).
std::uint64_t dispatch_archive(const char* name, ArchiveFormat format);
