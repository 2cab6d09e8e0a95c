#pragma once
// The lines that say a file operation failed, each naming the file and the
// reason the system gave, on standard error. Lower layers return the error
// number; the rooms that act on a folder say it through these.

#include <string>

void print_cannot_read(const std::string& path, int error);
void print_cannot_write(const std::string& path, int error);
void print_cannot_list(const std::string& folder, int error);
void print_cannot_move(const std::string& from, const std::string& to, int error);
void print_cannot_remove_folder(const std::string& folder, int error);
void print_cannot_lock(const std::string& path, int error);

// A tool file that was kept as it was, because what would replace it was
// not read or written whole.
void print_kept_as_it_was(const std::string& name);
