#include "run/failure_messages.h"

#include <cstdio>

#include "system/file_system.h"

namespace {

void print_failure(const char* what, const std::string& path, const FsResult& failure) {
  std::fprintf(stderr, "Cannot %s %s: %s\n", what, path.c_str(), failure.reason().c_str());
}

}  // namespace

void print_cannot_read(const std::string& path, const FsResult& failure) {
  print_failure("read", path, failure);
}

void print_cannot_write(const std::string& path, const FsResult& failure) {
  print_failure("write", path, failure);
}

void print_cannot_list(const std::string& folder, const FsResult& failure) {
  print_failure("read the folder", folder, failure);
}

void print_cannot_enter(const std::string& folder, const FsResult& failure) {
  print_failure("enter the folder", folder, failure);
}

void print_cannot_move(const std::string& from, const std::string& to, const FsResult& failure) {
  print_failure("move", from + " to " + to, failure);
}

void print_cannot_remove_folder(const std::string& folder, const FsResult& failure) {
  print_failure("remove the folder", folder, failure);
}

void print_cannot_lock(const std::string& path, const FsResult& failure) {
  std::fprintf(stderr, "Cannot lock %s: %s; no file was moved.\n", path.c_str(),
               failure.reason().c_str());
}

void print_kept_as_it_was(const std::string& name) {
  std::fprintf(stderr, "%s was kept as it was.\n", name.c_str());
}
