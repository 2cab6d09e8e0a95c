#pragma once
// The unpacking of archives that hold several images, for the copy mode.

#include "archive/archive_reader.h"

// Copies every catalogued image member of the archive `name` (a pack) as a
// loose image; members that are archives themselves are skipped and named.
void copy_pack(const char* name, ArchiveFormat format);
