#include "reports/report_messages.h"

#include <cstdio>

void print_headline(const std::string& headline) {
  std::fputs(headline.c_str(), stdout);
}

void print_dupes_heading() {
  std::printf("Multiple copies of the following were found:\n");
}

void print_dupe(const char* name, long copies) {
  std::printf("%s [%ld copies]\n", name, copies);
}

void print_too_large(const char* name) {
  std::fprintf(stderr, "%s is larger than it can be for any catalogue; it was not read.\n", name);
}

void print_database_found(const char* database, const char* haveList) {
  std::printf("Found %s, Ignoring %s\n", database, haveList);
}

void print_stats(int entries, int unclassed, int redumps, int hacks, int badDumps) {
  char unclassed_text[32] = "";
  if (unclassed > 0)
    std::snprintf(unclassed_text, sizeof unclassed_text, " (%d unclassed)", unclassed);
  std::printf("\nStats: %d entries%s, %d redumps, %d hacks/trainers, %d bad dumps\n", entries,
              unclassed_text, redumps, hacks, badDumps);
}
