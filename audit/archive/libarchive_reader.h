#pragma once
// The libarchive side of archive_reader.h: 7z archives, and the ZIP members
// whose compression method the own reader lacks.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "archive/archive_reader.h"

// Opens the 7z archive `path` into `reader` and lists its members; fails
// when libarchive cannot open it or this build has no libarchive.
ZipResult open_seven_zip(const char* path, std::unique_ptr<ArchiveReader>& reader);

// Members of one ZIP archive read through libarchive: one handle, opened on
// the first read and moved forward from member to member, opened again only
// when a member lies before the last one read.
class ZipMembersThroughLibarchive {
 public:
  explicit ZipMembersThroughLibarchive(std::string path);
  ~ZipMembersThroughLibarchive();
  ZipMembersThroughLibarchive(const ZipMembersThroughLibarchive&) = delete;
  ZipMembersThroughLibarchive& operator=(const ZipMembersThroughLibarchive&) = delete;

  // Reads the member `claimed` (found by its name) as
  // ArchiveReader::read_member does, checking the data against the size and
  // CRC-32 the own reader found in the directory.
  ZipResult read(const ArchiveMember& claimed, unsigned char* destination, std::size_t limit,
                 std::size_t& size, std::uint32_t& crc);

 private:
  struct Handle;
  std::string path_;
  std::unique_ptr<Handle> handle_;
};
