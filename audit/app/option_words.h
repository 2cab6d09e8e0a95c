#pragma once
// The command-line words of Vald2600 and the flags they set.

#include <cstdio>
#include <string_view>

#include "run/run_options.h"

// Applies every option rule to one command-line word. Returns true when the
// word asks for the unsupported conversion, which sets nothing.
bool apply_option_word(RunOptions& options, std::string_view word);

// The number of run modes the flags ask for; exactly one may run.
int count_modes(const RunOptions& options);

// Where a word that was given but ignored is said: standard error in the
// MESS export, whose standard output is the crc file alone; else standard
// output.
std::FILE* ignored_word_stream(const RunOptions& options);
