#pragma once
// The lines that say a file operation failed, each naming the file and the
// reason the system gave, on standard error. Lower layers return the failure;
// the rooms that act on a folder say it through these, naming the file as
// the user knows it.

#include <string>

#include "system/file_system.h"

void print_cannot_read(const std::string& path, const FsResult& failure);
void print_cannot_write(const std::string& path, const FsResult& failure);
void print_cannot_list(const std::string& folder, const FsResult& failure);
void print_cannot_enter(const std::string& folder, const FsResult& failure);
void print_cannot_move(const std::string& from, const std::string& to, const FsResult& failure);
void print_cannot_remove_folder(const std::string& folder, const FsResult& failure);
void print_cannot_lock(const std::string& path, const FsResult& failure);

// A tool file that was kept as it was, because what would replace it was
// not read or written whole.
void print_kept_as_it_was(const std::string& name);
