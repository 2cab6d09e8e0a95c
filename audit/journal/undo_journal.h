#pragma once
// The undo journal 2600Undo.txt: one record a line, appended as a rename,
// move or copy run goes, so that the run can be taken back later. Paths are
// kept byte for byte: every byte outside the printable ASCII range, the
// blank, "%" and "\" are written as "%" and two hex digits, so a field holds
// no blank and no line end whatever the file name holds. Paths are written
// with "/" between folders on every system and read back with "/" or "\"
// (as an earlier Windows build wrote them), so that a journal reads the same
// wherever it is read.
//
//   Vald2600 undo journal 1                  first line of the file
//   run 2026-12-07T07:50:00Z rename          a run begins (time in UTC, mode:
//                                            rename, move or copy)
//   folder 2600Ren                           the run created this folder
//   move 4096 pitfall.BIN 2600Ren/Pitfall...  written before the move is made
//   failed                                   the move just before did not happen
//   copy 4096 5a1b2c3d T 2600Ren/Pit... 803:1f  written when a copy's temporary
//                                            file is made, before it is written:
//                                            size, CRC-32, temporary name, target
//                                            and the identity of the file made
//                                            (device:file, in hex), without which
//                                            undo removes nothing of it
//   undone 3                                 the third run of the file was undone

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "system/file_system.h"
#include "system/tool_file_names.h"

inline constexpr char JOURNAL_FIRST_LINE[] = "Vald2600 undo journal 1";

// Longest line a reader accepts, line end included: two paths of 4096
// bytes, every byte escaped, and the rest of the record.
inline constexpr std::size_t JOURNAL_LINE_LIMIT = 2 * 3 * 4096 + 64;

enum class JournalRecordKind { run, folder, move, failed, undone, copy };

struct JournalRecord {
  JournalRecordKind kind = JournalRecordKind::run;
  std::string time;        // run: when it began
  std::string mode;        // run: "rename", "move" or "copy"
  std::string path;        // folder: the folder; move: the source; copy: the temporary name
  std::string target;      // move: where the file went; copy: the copy's name
  std::uint64_t size = 0;  // move, copy: the file's length in bytes
  std::uint32_t crc = 0;   // copy: the CRC-32 of its bytes
  std::uint64_t run = 0;   // undone: the run's place in the file, from 1
  FileIdentity identity;   // copy: of the file the run made
  bool identityKnown = false;
};

// `bytes` with every byte that may not stand in a field escaped.
std::string escape_journal_field(std::string_view bytes);

// The bytes a field stands for; none when it holds a byte that is never
// written bare or a "%" not followed by two hex digits.
std::optional<std::string> unescape_journal_field(std::string_view field);

// The field of a path: its separators written as "/", then escaped.
std::string journal_path_field(std::string_view path);

// The path a field stands for, with either separator read as this
// system's; none as for unescape_journal_field.
std::optional<std::string> path_of_journal_field(std::string_view field);

// The line of a record, line end included.
std::string journal_line(const JournalRecord& record);

// The record a line holds (without its line end); none when the line is not
// one of the records above, exactly as they are written.
std::optional<JournalRecord> parse_journal_line(std::string_view line);
