#pragma once
// What copy to=, out=, tv= and 1g1r ask of a run before its walk: the
// target named, a catalogue that serves it, the out folder ready; and after
// the walk, the staged copies placed.

#include "run/run_options.h"

// Whether the run stages its copies until every image is known: copy with
// 1g1r or to=.
bool stages_copies(const RunOptions& options);

// Gets the run ready for its export: the target of to= is one there is, the
// catalogue serves it, the out folder is there (made when missing, but not
// in a plan, which only says it would make it). False, after one line
// saying why, when the run must not go on.
bool prepare_export();

// Before the walk: a plan whose out folder is missing plans it.
void start_export();

// Places the copies the walk staged (see stages_copies).
void finish_export();

// One line for each export word given to a run that does not export:
// to= and out= want copy, 1g1r and tv= want copy, list or csv.
void print_export_words_ignored(const RunOptions& options);
