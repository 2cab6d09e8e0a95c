#pragma once
// The run room: the records a run keeps between its steps, below every room
// that acts on a folder. It may use the catalogue, zip and system.
//
// This header holds everything a run keeps between its steps, in one record,
// so that a test can start from a fresh state with reset_run_state() (which
// also starts the catalogue's record afresh).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "catalogue/entry_verification.h"
#include "catalogue/rom_database.h"
#include "files/tool_files.h"
#include "run/copy_state.h"
#include "run/found_images.h"
#include "run/info_groups.h"
#include "run/run_options.h"
#include "zip/zip_messages.h"

// Opens the tool file `name` for appending, in the run's directories. When
// no directory takes it, says so, once a run for each name; the next use
// tries again.
FileHandle append_to_tool_file(const char* name);

// Starts writing the tool file `name` afresh, beside the old one, which it
// replaces whole at finish_rewrite; says so when no directory takes it.
// Returns the file to write, nullptr then.
FileStream* start_rewrite(Replacement& rewrite, const char* name);

// Puts a rewritten tool file in place of the old one; when anything failed,
// says so and leaves the old one as it was. Returns whether it was written.
bool finish_rewrite(Replacement& rewrite, const char* name);

// The one buffer an image is identified in. `capacity` is what images may
// fill; the allocation has 64 KiB of slack beyond it.
struct ImageBuffer {
  std::unique_ptr<unsigned char[]> data;
  std::size_t capacity = 0;
};

// Set by the dispatch for the file in hand, read by the identification.
struct DispatchState {
  bool inMemory = false;       // the image is in the buffer, or its CRC is known
  std::uint32_t knownCrc = 0;  // catalogued CRC of an archive member's data, 0: none
  bool dataCrcKnown = false;   // dataCrc holds the CRC-32 of the buffer's image
  std::uint32_t dataCrc = 0;   // computed while the member was read and checked
  std::string memberName;      // the archive member chosen, when inMemory
};

// What verify found: for the image identified last, whether its CRC-32 named
// an entry and what the check said, with the entry it matched (the copy mode
// and reports read it); and the counts of the run.
struct VerifyState {
  bool lastChecked = false;
  Verification last;
  VerifyCounts counts;
};

// Logs opened on first use and closed after the walk.
struct ToolLogs {
  FileHandle scan;                                             // 2600Scan.txt
  FileHandle change;                                           // 2600Log.txt
  ZipLog zip{nullptr, append_to_tool_file, false, {}, {}, 0};  // Vald_ZIP.txt
  std::set<std::string> unopened;                              // logs said to be unopenable
};

// Names compared as the systems that do not tell letter case apart compare
// them: ASCII letters folded.
struct FoldedHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view name) const;
};
struct FoldedEqual {
  using is_transparent = void;
  bool operator()(std::string_view left, std::string_view right) const;
};

// The names of a folder, found again under any letter case.
using FoldedNames = std::unordered_set<std::string, FoldedHash, FoldedEqual>;

struct RenameState {
  bool targetPrepared = false;  // 2600Ren (and group folders) handled
  bool dupesPrepared = false;   // 2600Dupes exists
  bool movesStopped = false;    // a target folder is a link: nothing more moves
  // For each target folder, its names by their lower-case form: no two
  // names of a folder may differ only in case.
  std::unordered_map<std::string, FoldedNames> foldedNames;
  std::string counterName;  // last candidate of the counter scheme
  // For each duplicate name, the last counter name a file was moved to: the
  // names before it are taken, so the next duplicate starts after it.
  std::unordered_map<std::string, std::string> lastCounterName;
};

// Where the walk is: how many folders below the start folder.
struct WalkState {
  std::size_t depth = 0;
};

struct RunState {
  RunOptions options;
  ToolDirectories directories;
  ImageBuffer image;
  DispatchState dispatch;
  VerifyState verify;
  ToolLogs logs;
  RenameState rename;
  CopyState copy;
  InfoConfig info;
  FoundImages found;
  WalkState walk;
  // A have file could not be read whole: neither is replaced by this run,
  // so that nothing it held is lost.
  bool keepHaveFiles = false;
};

RunState& run_state();

// Closes open logs and puts every record back to its start value.
void reset_run_state();

// Closes the logs that are open (scan, change, ZIP), saying so of any that
// could not be written whole.
void close_tool_logs();

// Closes a tool file written by the run; says so when it could not be
// written whole. Returns whether it was.
bool finish_tool_file(FileHandle& file, const char* name);

// The path by which the disk reaches `path`, given from the start folder,
// from the folder the walk is in: the path itself at the start folder, else
// the start folder's whole path joined with it.
std::string at_start(const std::string& path);

// Makes the image buffer hold at least `size` bytes, replacing it when it is
// smaller. Returns false when the allocation fails; the buffer is then gone.
bool grow_image_buffer(std::size_t size);
