#pragma once
// What the walk says of the folders and files it meets, one function per
// kind of line.

#include <cstddef>
#include <string>

#include "catalogue/entry_verification.h"
#include "system/file_system.h"

// "Scanning ./sub/*.bin.a26", before a subfolder is walked.
void print_scanning(const std::string& subdirectory);

// The walk could not come back to `folder` from one of its subfolders, and
// so stops there (standard error).
void print_walk_stopped(const std::string& folder, const FsResult& failure);

// A subfolder below the deepest level the walk enters, left unread.
void print_too_deep(const std::string& subdirectory, std::size_t limit);

// A link or pipe with an image's or archive's name, which the walk leaves alone.
void print_left_alone(const char* name, bool isLink);

// A file the identification could not open or read whole (standard error).
void print_cannot_open(const char* name);

void print_bad_size(const char* name);
void print_not_2600(const char* name);

// verify: the image is not the entry `title` its CRC-32 names.
void print_verify_refusal(const char* name, const char* title, VerifyFailure failed);

// An archive with more than one image, or with an emulator beside its image.
void print_emulator_package(const char* name);
void print_multiple_images(const char* name);

// An archive whose chosen member could not be read, or that holds no image.
void print_archive_unread(const char* name);
void print_no_images(const char* name);

// A member of a pack that is an archive itself: the copy mode does not open it.
void print_nested_archive(const char* archive, const std::string& member);
