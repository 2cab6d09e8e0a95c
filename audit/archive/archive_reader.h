#pragma once
// One way to read the archives the walk looks into, whatever reads them: the
// own ZIP reader (with libarchive for members whose method it lacks) or
// libarchive for 7z. A reader lists members and reads one member into the
// caller's buffer, never past a hard limit. Every problem is reported in the
// ZIP error family (console and "Vald_ZIP.txt") before the call fails.
// This folder may use zip/ and system/.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "zip/zip_messages.h"

// The archive formats the walk looks into.
enum class ArchiveFormat { zip, sevenZip };

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

  // The next member, valid until the next call; nullptr at the end of the
  // archive or after a reported error.
  virtual const ArchiveMember* next_member() = 0;

  // True once the listing has ended on an error (reported), not at the end
  // of the archive. The own ZIP reader does not tell: it reports again on a
  // second pass, as it always has.
  virtual bool listing_failed() const { return false; }

  // Reads the member last returned into `destination`, which has room for
  // `limit` bytes, and sets `size` and `crc` to what the data are. Fails
  // (reported) when the data cannot be read, are encrypted, would pass
  // `limit`, differ in size from the claim or in CRC-32 from a known one.
  virtual bool read_member(unsigned char* destination, std::size_t limit, std::size_t& size,
                           std::uint32_t& crc) = 0;
};

// Opens `path` as an archive of `format`; its problems go to `log`, which
// must outlive the reader. Returns nullptr (reported) when it cannot be
// opened or this build cannot read the format.
std::unique_ptr<ArchiveReader> open_archive(const char* path, ArchiveFormat format, ZipLog& log);

// Whether this build has libarchive: without it 7z archives and ZIP members
// of methods other than stored and deflated are refused as unsupported.
bool libarchive_available();
