#pragma once
// The csv word: the CSV report 2600Report.csv beside the run's other reports,
// with what changed since the last run in the same folder.

#include "reports/csv_report.h"
#include "run/run_options.h"

// Whether the CSV report goes with the mode of `options`; the csv word is
// ignored with any other.
bool mode_takes_csv(const RunOptions& options);

// The one line that says csv was ignored in a mode that writes no report
// (on standard error in the MESS export, whose standard output is the file).
void print_csv_ignored(const RunOptions& options);

// With csv, reads the earlier report of the start folder (saying so when
// it cannot be used) and starts recording what the walk finds.
EarlierReport start_csv_report();

// With csv, replaces the report with this run's rows and says how many
// entries are new and how many gone.
void finish_csv_report(const EarlierReport& earlier);
