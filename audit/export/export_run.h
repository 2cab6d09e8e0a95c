#pragma once
// The second half of a copy run that stages its copies: once the walk has
// found every image, the ones to copy are chosen (one per game with 1g1r),
// laid out for the target of to= (or named as copy names them) and put in
// place in the order a menu should show them; then the target's own files.

#include "export/export_targets.h"

// The target the run's to= names, or nullptr for none. A word that names
// no target is said in one line, and the run must not go on: `refused`.
const ExportTarget* run_export_target(bool& refused);

// Whether the run's catalogue can serve `target`: MAME wants the software
// names that only a software list gives. Says so in one line when not.
bool catalogue_serves(const ExportTarget& target);

// Places what the run staged, and writes the target's own files.
void place_staged_images(const ExportTarget* target);
