#pragma once
// Rename, move and copy runs with their two companions: the plan, which runs the
// walk against a planning file system and changes nothing, and the undo
// journal, which records every move of a real run before it is made.

#include "run/run_options.h"

// Whether `options` ask for a run that moves files (rename or move).
bool moves_files(const RunOptions& options);

// Whether `options` ask for a run that changes the folder under the undo
// journal (rename, move or copy).
bool journals_changes(const RunOptions& options);

// Runs `walk` (the walk and the reports) as a plan when `plan` is set, else
// with the undo journal kept; prints the plan's closing line, or why no file
// could be moved.
void run_moving_walk(void (*walk)());

// The one line that says `plan` was ignored in a run that moves nothing.
void print_plan_ignored(const RunOptions& options);
