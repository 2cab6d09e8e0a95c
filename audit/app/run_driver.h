#pragma once
// The app layer, the top of Vald2600: the run order, the command-line words,
// the usage text and the modes that are runs of their own (audit, undo, the
// MESS export). The only place that decides what runs, and the home of the
// console's lines but those a lower folder keeps in its own messages file;
// it may use every layer below (journal, scan, reports, naming, run,
// catalogue, archive, zip, sniff, system).

// Runs the tool on the words of its command line (argv[0] is the program).
// Returns the process exit code: 0, or 2 when a DAT file given with dat=
// cannot be used.
int run_vald(int argc, const char* const* argv);
