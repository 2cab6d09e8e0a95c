#pragma once
// The walk of the copy mode: the start folder and every folder below it but
// hidden ones, links and the tool's own target folders, with the paths of
// the files built from the start folder so that the current directory never
// changes; and the unpacking of archives that hold several images.

#include "archive/archive_reader.h"

// Walks the current directory and its subfolders for the copy mode, then
// puts the last copies in place.
void walk_for_copy();

// Copies every catalogued image member of the archive `name` (a pack) as a
// loose image; members that are archives themselves are skipped and named.
void copy_pack(const char* name, ArchiveFormat format);
