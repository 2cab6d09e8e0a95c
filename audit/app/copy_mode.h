#pragma once
// The copy mode's own steps around its walk: clearing what a stopped copy
// run left, and the closing line.

// Removes the temporary files that the last copy run of the start folder's
// undo journal recorded and left, when it was stopped before it finished.
void remove_left_copies();

// The copy run's closing line (a plan's: what would be copied).
void print_copy_summary(bool planned);
