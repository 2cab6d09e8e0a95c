#pragma once
// The audit mode: consistency checks of the catalogue names and the list of
// names that no group of ValdInfo.cfg covers, on standard output.

// Prints unbalanced parentheses (traced part by part with audit3), equal
// names, names over 61 characters (audit2), then loads the info
// configuration and lists the catalogue names that match none of its groups.
void run_audit();
