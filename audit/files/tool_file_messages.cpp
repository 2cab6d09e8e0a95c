// What the opening of the tool's own files says.

#include <cstdio>

#include "files/tool_files.h"

void print_using_default_log(const std::string& path) {
  std::fprintf(stderr, "Using default log: %s\n", path.c_str());
}
