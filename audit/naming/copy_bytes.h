#pragma once
// The bytes of a copy: where they come from (the image buffer, or a file
// copied whole), their size and CRC-32, and the writing of a copy into its
// temporary file, read back before it counts as written.

#include <cstddef>
#include <cstdint>
#include <string>

#include "run/copy_state.h"
#include "system/file_system.h"

// What a copy is made of: `size` bytes at `data`, or else the file `path`.
struct CopySource {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  std::string path;
};

// The CRC-32 of `size` bytes at `data`.
std::uint32_t crc_of_bytes(const unsigned char* data, std::size_t size);

// All the bytes of `source`, which the caller has bounded; the failure when
// it cannot be read.
FsResult read_whole_source(const CopySource& source, std::string& whole);

// The size and CRC-32 of `source`, and with `sha1` its SHA-1; the failure
// when it cannot be read.
FsResult measure_source(const CopySource& source, CopiedBytes& bytes, bool sha1);

// Whether the file at `path` holds exactly the bytes of `source` (`same`);
// missing() when there is no file.
FsResult compare_with_file(const CopySource& source, const std::string& path, bool& same);

// Why a copy could not be written; the disk's failure, or a copy that read
// back other than `expected`.
struct CopyFailure {
  FsResult failure;
  bool mismatch = false;  // read back with another size or CRC-32
  bool source = false;    // the failure is the source's, not the copy's
};

// Writes `source` to `file`, just created at `path`, closes it and reads it
// back: false when a step failed or the copy is not `expected`. Not synced.
bool write_copy(FileStream& file, const std::string& path, const CopySource& source,
                const CopiedBytes& expected, CopyFailure& why);

// Syncs one file written before.
FsResult sync_file_at(const std::string& path);
