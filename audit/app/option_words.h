#pragma once
// The command-line words of Vald2600 and the flags they set.

#include <string_view>

#include "run/run_options.h"

// Applies every option rule to one command-line word. Returns true when the
// word asks for the unsupported conversion, which sets nothing.
bool apply_option_word(RunOptions& options, std::string_view word);

// The number of run modes the flags ask for; exactly one may run.
int count_modes(const RunOptions& options);
