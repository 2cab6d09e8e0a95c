#pragma once
// The two passes over an archive: count its images (and look for an
// emulator package), then choose the one image and extract it.

#include <cstdint>

// Looks into the archive `name` in the current directory and chooses its
// image. Returns the size to identify with; run_state().dispatch tells
// whether there is one (in the image buffer, or known by its catalogued CRC).
std::uint64_t dispatch_archive(const char* name);
