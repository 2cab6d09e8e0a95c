#pragma once
// MAME's form of a collection: one ZIP per software entry of its list,
// holding that entry's ROMs under the names the list gives them. The ZIP is
// written by libarchive, the same bytes for the same members every time;
// builds without libarchive write none. The catalogue says which ROMs each
// software entry needs.

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "system/file_system.h"

// The reason a build without libarchive gives for every ZIP it cannot write.
inline constexpr char ZIP_WRITING_UNAVAILABLE[] = "this build has no libarchive to write ZIP files";

// One member to write: its name in the ZIP and its bytes, which the caller
// keeps alive until the ZIP is written.
struct ZipMemberData {
  std::string name;
  const unsigned char* data = nullptr;
  std::size_t size = 0;
};

// How writing a ZIP went: the disk's failure, or why the ZIP could not be
// made (libarchive's words, a member name refused, or no libarchive in this
// build). Read through ok().
struct [[nodiscard]] ZipWriteResult {
  FsResult disk;       // the stream's failure; ok when the disk did not fail
  std::string reason;  // empty unless the ZIP failed on its own

  bool ok() const { return disk.ok() && reason.empty(); }
};

// Writes a ZIP holding `members` in the order given, deflated, every member
// a regular file with mode 0644, owner 0, the earliest time a ZIP can hold
// (1980-01-01 00:00) and no other timestamps, so that the same members
// always give the same bytes. Refuses, before writing anything, a member
// name that is empty, absolute, has a ".." part or repeats an earlier one.
// The stream is flushed, not closed.
ZipWriteResult write_reproducible_zip(FileStream& out, const std::vector<ZipMemberData>& members);

// Why `members` cannot make a ZIP (a name empty, absolute, with a ".." part
// or repeating an earlier one), naming the member; empty when they can.
std::string refused_member_names(const std::vector<ZipMemberData>& members);

// Whether this build can write ZIP files (it has libarchive).
bool zip_writing_available();

// One ROM of a software entry: the catalogue entry it is, and the name the
// entry's ZIP gives it (the ROM's own name in the list).
struct SoftwareRom {
  int entry = -1;
  std::string member;
};

// Each software entry of the run's catalogue by its short name, with its
// ROMs ordered by member name (bytewise), then by entry. Entries without a
// software name (those of most DAT files) belong to none.
using SoftwareSets = std::map<std::string, std::vector<SoftwareRom>, std::less<>>;

// The software sets of the run's catalogue, made in one pass over it.
SoftwareSets software_sets();

// The members of `roms` whose entry `present` says the collection lacks, in
// the order of `roms`: empty when the set is whole.
template <typename Present>
std::vector<std::string> missing_roms(const std::vector<SoftwareRom>& roms, Present present) {
  std::vector<std::string> missing;
  for (const SoftwareRom& rom : roms) {
    if (!present(rom.entry)) missing.push_back(rom.member);
  }
  return missing;
}
