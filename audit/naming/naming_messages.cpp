#include "naming/naming_messages.h"

#include <cstdio>

#include "run/info_groups.h"

void print_dir_error(const std::string& path) {
  std::fprintf(stderr, "Error creating dir: '%s'\n", path.c_str());
}

void print_already_exists(const std::string& target, const char* oldName) {
  std::printf("File %s already exists (Original: %s)\n", target.c_str(), oldName);
}

void print_out_of_names() {
  std::printf("Out of temp filenames!\n");
}

void print_target_not_a_folder(const std::string& path) {
  std::printf("%s is not a folder of its own (a link or a file); no file is moved in this run.\n",
              path.c_str());
}

void print_unusable_name(const char* oldName, bool copied) {
  std::printf("%s was not %s: its catalogue name cannot be a file name\n", oldName,
              copied ? "copied" : "moved");
}

void print_change_line(const std::string& line) {
  std::fputs(line.c_str(), stdout);
}

void print_creating(const std::string& directory, bool endsLine) {
  std::printf("Creating %-25s  %s", directory.c_str(), endsLine ? "\n" : "");
}

void close_creating_line() {
  std::printf("\n");
}

void print_info_defaults(const std::string& path) {
  std::printf("Cannot open %s Using Defaults\n", path.c_str());
}

void print_cannot_interpret(const std::string& lineAsRead) {
  std::printf("Cannot interpret \"%s\"\n", lineAsRead.c_str());
}

void print_pattern_limit() {
  std::printf("Only %d patterns allowed!\n", INFO_GROUP_LIMIT);
}

void print_already_there(const std::string& target, const char* source) {
  std::printf("Already there: %s (copy of %s skipped)\n", target.c_str(), source);
}

void print_copy_failed(const char* source, const std::string& target, const FsResult& failure,
                       bool mismatch) {
  const std::string why = mismatch ? "the copy read back differs from the image"
                                   : failure.reason() + " (" + failure.path + ")";
  std::fprintf(stderr, "Cannot copy %s to %s: %s; nothing was left there.\n", source,
               target.c_str(), why.c_str());
}
