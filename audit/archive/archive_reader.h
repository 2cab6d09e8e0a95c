#pragma once
// One way to read the archives the walk looks into, whatever reads them: the
// own ZIP reader (with libarchive for members whose method it lacks) or
// libarchive for 7z. A reader lists the members once, when it opens, and
// reads a member by its place in that list into the caller's buffer, never
// past a hard limit; members read in their order cost one pass over the
// archive. Problems come back as ZipResults (zip_messages.h) for the caller
// to say; a reader prints nothing.
// This folder may use zip/ and system/.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "zip/zip_messages.h"

// What one listing keeps at most, whatever the archive claims: beyond it the
// listing ends with tooManyMembers.
inline constexpr std::size_t ARCHIVE_MEMBER_LIMIT = 256 * 1024;
inline constexpr std::size_t ARCHIVE_NAME_BYTES_LIMIT = 32 * 1024 * 1024;

// One member as the archive's directory describes it.
struct ArchiveMember {
  std::string name;
  std::uint64_t size = 0;  // uncompressed size the archive claims
  std::uint32_t crc = 0;   // CRC-32 the archive claims, when crcKnown
  bool crcKnown = false;   // 7z through libarchive does not tell it
};

class ArchiveReader {
 public:
  virtual ~ArchiveReader() = default;

  // The members, in the archive's order, listed when it was opened.
  const std::vector<ArchiveMember>& members() const { return members_; }

  // Success when the listing reached the end of the archive; else the
  // problem that ended it (the members before it are listed).
  const ZipResult& listing() const { return listing_; }

  // Reads the member `index` into `destination`, which has room for `limit`
  // bytes, and sets `size` and `crc` to what the data are. Fails when the
  // data cannot be read, are encrypted, would pass `limit`, differ in size
  // from the claim or in CRC-32 from a known one. Reading members in
  // increasing order is one pass; going back may cost another.
  virtual ZipResult read_member(std::size_t index, unsigned char* destination, std::size_t limit,
                                std::size_t& size, std::uint32_t& crc) = 0;

 protected:
  // Adds a member to the listing; false (and the listing ended with
  // tooManyMembers) once the caps are reached.
  bool add_member(ArchiveMember member);

  std::vector<ArchiveMember> members_;
  ZipResult listing_;

 private:
  std::size_t nameBytes_ = 0;
};

// Opens `path` as an archive of `format` into `reader` (empty on failure)
// and lists its members.
ZipResult open_archive(const char* path, ArchiveFormat format,
                       std::unique_ptr<ArchiveReader>& reader);

// Whether this build has libarchive: without it 7z archives and ZIP members
// of methods other than stored and deflated are refused as unsupported.
bool libarchive_available();
