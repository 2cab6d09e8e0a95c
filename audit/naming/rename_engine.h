#pragma once
// The naming room: the rename engine, the safe names, and the info groups of
// ValdInfo.cfg that choose group folders. It may use run, the catalogue and
// system.
//
// The rename engine: counts every catalogued image, logs the change, and in
// the rename and move modes moves the file into 2600Ren (duplicates into
// 2600Dupes). A move never replaces a file; a file that cannot be moved stays
// where it is, untouched.

#include <optional>
#include <string>
#include "system/tool_file_names.h"

inline constexpr char RENAME_TARGET_DIR[] = "2600Ren";
inline constexpr char DUPES_TARGET_DIR[] = "2600Dupes";

// Handles one identified image: `crcText` is its CRC as eight lowercase hex
// digits, `oldName` the file's name in the current directory (an archive's
// name when run_state().dispatch.inMemory is set). Returns whether the CRC is
// catalogued.
bool rename_image(const char* crcText, const char* oldName);

// Where the image of catalogue entry `index`, now called `oldName`, goes in
// 2600Ren, and where in 2600Dupes when that name is taken; none when its
// new name is unusable. An `archive` (copied or moved whole) keeps its own
// extension.
std::optional<std::string> rename_target(int index, const std::string& oldName, bool archive);
std::optional<std::string> dupes_target(int index, const std::string& oldName);

// Once per run: 2600Ren (and the group folders) before the first image is
// placed. Returns false when 2600Ren cannot be created.
bool prepare_targets();

// Creates the folder `path`, given from the target root, unless it is there
// as a folder of its own. False, after saying why, when it cannot be: a link
// or a file in its place stops every move and copy of the run.
bool prepare_folder(const std::string& path);

// Creates 2600Dupes once; whether it exists.
bool prepare_dupes_folder();

// Writes the change-log line for `oldName` becoming `newName`, as the
// changes options ask (on the console too unless quiet).
void log_change(const char* oldName, const char* newName);

// Creates 2600Ren and the folder of every info group, each level in turn.
// Returns false after the first folder that cannot be created.
bool create_group_dirs();

// The next candidate of the counter scheme for `name` (".bin" -> ".bi0" ...
// ".bi9" -> ".b10" ... ".b99"), kept in run_state().rename.counterName;
// nullptr, after printing "Out of temp filenames!", when it is exhausted.
const char* next_counter_name(const std::string& name);

// The extension of `name`: from its last dot, unless that dot is the first
// character; empty when there is none.
std::string name_extension(const std::string& name);
