#include "scan/scan_messages.h"

#include <cstdio>

#include "catalogue/rom_database.h"
#include "scan/file_kinds.h"
#include "system/file_system.h"

void print_scanning(const std::string& subdirectory) {
  std::printf("Scanning %s%c*%s\n", subdirectory.c_str(), PATH_SEPARATOR, EXTENSIONS_2600);
}

void print_walk_stopped(const std::string& folder, const FsResult& failure) {
  std::fprintf(stderr, "Cannot go back to the folder %s: %s; the walk stops here.\n",
               folder.c_str(), failure.reason().c_str());
}

void print_too_deep(const std::string& subdirectory, std::size_t limit) {
  std::printf("%s is more than %zu folders below the start folder; it was left unread\n",
              subdirectory.c_str(), limit);
}

void print_left_alone(const char* name, bool isLink) {
  std::printf("%s is %s; it was left alone\n", name,
              isLink ? "a symbolic link" : "not a regular file");
}

void print_cannot_open(const char* name) {
  std::fprintf(stderr, "Cannot open %s\n", name);
}

void print_bad_size(const char* name) {
  std::printf("Unrecognized image size in %s\n", name);
}

void print_not_2600(const char* name) {
  std::printf("NOT in %s Format --> %s\n", SYSTEM_NAME, name);
}

void print_verify_refusal(const char* name, const char* title, VerifyFailure failed) {
  std::printf("%s: not %s: %s\n", name, title, verify_failure_note(failed).c_str());
}

void print_emulator_package(const char* name) {
  std::printf("I don't rename ROMS inside EMU distros :-) ... skipping %s\n", name);
}

void print_multiple_images(const char* name) {
  std::printf("Multiple ROMS found in %s ... skipping\n", name);
}

void print_archive_unread(const char* name) {
  std::printf("Error reading %s ... skipping\n", name);
}

void print_no_images(const char* name) {
  std::printf("NO %s ROMS found in %s\n", SYSTEM_NAME, name);
}

void print_nested_archive(const char* archive, const std::string& member) {
  std::printf("Skipping %s in %s: an archive inside an archive\n", member.c_str(), archive);
}
