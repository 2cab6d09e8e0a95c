#include "app/audit_mode.h"

#include <cstdio>
#include <cstring>

#include "catalogue/rom_database.h"
#include "naming/info_config.h"
#include "run/run_state.h"

namespace {

constexpr std::size_t LONG_NAME_LIMIT = 61;

void print_unmatched_parentheses(const char* name) {
  std::printf("unmatched () %s\n", name);
}
void print_equal_name(const char* name) {
  std::printf("NAME!:  %s\n", name);
}
void print_long_name(const char* name) {
  std::printf("Long: [%02zu] %s\n", std::strlen(name), name);
}
void print_unmatched_heading() {
  std::printf("Unmatched listings in %s\n", INFO_FILE_NAME);
}
void print_no_configuration() {
  std::printf("%s not found\n", INFO_FILE_NAME);
}
void print_none_found() {
  std::printf("[None found]\n");
}
void print_closing_line() {
  std::printf(" \n");
}

// Counts parentheses over the name; with `trace`, prints every character
// inside them and ends each part at its closing parenthesis.
void check_parentheses(const char* name, bool trace) {
  int depth = 0;
  for (const char* at = name; *at != '\0'; ++at) {
    if (*at == '(') ++depth;
    if (trace && depth != 0) std::putchar(*at);
    if (*at == ')') {
      --depth;
      if (trace) std::putchar('\n');
    }
  }
  if (depth != 0) print_unmatched_parentheses(name);
}

void check_equal_names() {
  const int count = db_count();
  for (int first = 0; first < count; ++first) {
    for (int second = first + 1; second < count; ++second) {
      if (std::strcmp(db_name(first), db_name(second)) == 0) print_equal_name(db_name(first));
    }
  }
}

void list_long_names() {
  for (int index = 0; index < db_count(); ++index) {
    if (std::strlen(db_name(index)) > LONG_NAME_LIMIT) print_long_name(db_name(index));
  }
}

void list_unmatched_names() {
  if (run_state().info.groups[0].pattern.empty()) {
    print_no_configuration();
    return;
  }
  bool any = false;
  for (int index = 0; index < db_count(); ++index) {
    if (find_info_group(index) >= 0) continue;
    std::printf("%s\n", db_name(index));
    any = true;
  }
  if (!any) print_none_found();
}

}  // namespace

void run_audit() {
  const RunOptions& options = run_state().options;
  for (int index = 0; index < db_count(); ++index) {
    check_parentheses(db_name(index), options.audit3 != 0);
  }
  check_equal_names();
  if (options.audit2) list_long_names();
  print_unmatched_heading();
  load_info_config();
  list_unmatched_names();
  print_closing_line();
}
