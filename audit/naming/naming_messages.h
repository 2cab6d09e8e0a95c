#pragma once
// What the rename engine and the info configuration say, one function per
// kind of line. The quiet option is the callers' to apply.

#include <string>

#include "system/file_system.h"

// The rename engine's.
void print_dir_error(const std::string& path);
void print_already_exists(const std::string& target, const char* oldName);
void print_out_of_names();

// A target folder that is there as a link or a file: no file moves in this run.
void print_target_not_a_folder(const std::string& path);

// An image whose catalogue name cannot be a file name stays where it is.
void print_unusable_name(const char* oldName, bool copied);
void print_change_line(const std::string& line);

// The copy engine's: a target already holding the same bytes, and a copy
// that could not be made (the failure, or a copy that read back wrong).
void print_already_there(const std::string& target, const char* source);
void print_copy_failed(const char* source, const std::string& target, const FsResult& failure,
                       bool mismatch);

// "Creating" lines come two to a console line: the first of a pair leaves
// its line open, the second (or close_creating_line) ends it.
void print_creating(const std::string& directory, bool endsLine);
void close_creating_line();

// The info configuration's.
void print_info_defaults(const std::string& path);
void print_cannot_interpret(const std::string& lineAsRead);
void print_pattern_limit();
