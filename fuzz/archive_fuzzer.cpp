// Fuzz target for the archive readers behind the walk: an input that starts
// with "PK" is read as ZIP (the own reader, and libarchive for members of
// other methods), any other as 7z through libarchive. Every member is read,
// in order and then the first one again, into a buffer of exactly the image
// limit, so that AddressSanitizer sees any write past it.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "archive/archive_reader.h"
#include "scan/identify.h"
#include "system/file_system.h"

namespace {

int archive_file = -1;
std::string archive_path;
ZipLog log_to_nowhere;

void say(ArchiveFormat format, const ZipResult& result) {
  if (!result.ok()) zip_report(log_to_nowhere, format, "fuzz.archive", result);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The readers open archives by path: give them a file that lives in memory.
  archive_file = memfd_create("fuzz.archive", 0);
  if (archive_file < 0) return 1;
  archive_path = "/proc/self/fd/" + std::to_string(archive_file);
  // Console lines and the log go nowhere, but every line is still written.
  if (std::freopen("/dev/null", "w", stdout) == nullptr) return 1;
  log_to_nowhere.file = open_collecting(nullptr);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (ftruncate(archive_file, 0) != 0) return 0;
  if (size > 0 && pwrite(archive_file, data, size, 0) != static_cast<ssize_t>(size)) return 0;
  const ArchiveFormat format =
      size >= 2 && std::memcmp(data, "PK", 2) == 0 ? ArchiveFormat::zip : ArchiveFormat::sevenZip;
  std::unique_ptr<ArchiveReader> reader;
  if (const ZipResult opened = open_archive(archive_path.c_str(), format, reader); !opened.ok()) {
    say(format, opened);
    return 0;
  }
  say(format, reader->listing());
  std::vector<unsigned char> room(MAX_IMAGE_SIZE);
  const std::size_t members = reader->members().size();
  for (std::size_t index = 0; index <= members && members > 0; ++index) {
    std::size_t read = 0;
    std::uint32_t crc = 0;
    say(format, reader->read_member(index % members, room.data(), room.size(), read, crc));
  }
  return 0;
}
