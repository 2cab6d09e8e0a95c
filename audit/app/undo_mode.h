#pragma once
// The undo mode: takes back the most recent run of the start folder's undo
// journal that was not undone yet, and marks it undone in the journal. Files
// that cannot go back are left as they are and reported. The reports and
// the have database are not touched: they count what was found, not where
// it lies.

// The whole mode, on the journal in the start folder, with its messages.
void run_undo();
