#pragma once
// What the reports say on the console, one function per kind of line.

#include <string>

// A report's headline, as the report file carries it too.
void print_headline(const std::string& headline);

void print_dupes_heading();
void print_dupe(const char* name, long copies);

// A have file larger than any catalogue's, which is not read.
void print_too_large(const char* name);

void print_database_found(const char* database, const char* haveList);

// "Stats: ...", with the unclassed count only when there are any.
void print_stats(int entries, int unclassed, int redumps, int hacks, int badDumps);
