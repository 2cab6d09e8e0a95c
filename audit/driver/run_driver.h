#pragma once
// The run of Vald2600 from its command line to its last report.

// Runs the tool on the words of its command line (argv[0] is the program).
// Returns the process exit code, which is always 0.
int run_vald(int argc, const char* const* argv);
