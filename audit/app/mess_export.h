#pragma once
// The catalogue as a crc file for the MESS emulator, on standard output.

#include <string>

// Prints the crc file's header and one line per catalogue entry, in
// catalogue order, and nothing else.
void export_mess_crc();

// The crc-file line (with its newline) of one catalogue text "crc name": the
// year taken out of the name into its own column, a "{...}" maker tag taken
// out as the status, and "Known Bad Dump" as the status of a name with "[b".
std::string mess_crc_line(const char* entry);
