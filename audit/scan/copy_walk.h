#pragma once
// The walk of the copy mode: the start folder and every folder below it but
// hidden ones, links and the tool's own target folders, with the paths of
// the files built from the start folder so that the current directory never
// changes. Packs of several images are unpacked by the archive dispatch.

// Walks the current directory and its subfolders for the copy mode, then
// puts the last copies in place.
void walk_for_copy();
