// libFuzzer target for the archive readers behind the walk: an input that
// starts with "PK" is read as ZIP (the own reader, and libarchive for
// members of other methods), any other as 7z through libarchive. Every
// member is read into a buffer of exactly the image limit, so that
// AddressSanitizer sees any write past it.

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

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The readers open archives by path: give them a file that lives in memory.
  archive_file = memfd_create("fuzz.archive", 0);
  if (archive_file < 0) return 1;
  archive_path = "/proc/self/fd/" + std::to_string(archive_file);
  // Console lines and the log go nowhere, but every line is still written.
  if (std::freopen("/dev/null", "w", stdout) == nullptr) return 1;
  log_to_nowhere.file = file_system().open("/dev/null", "w");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (ftruncate(archive_file, 0) != 0) return 0;
  if (size > 0 && pwrite(archive_file, data, size, 0) != static_cast<ssize_t>(size)) return 0;
  const bool zip = size >= 2 && std::memcmp(data, "PK", 2) == 0;
  const auto reader = open_archive(
      archive_path.c_str(), zip ? ArchiveFormat::zip : ArchiveFormat::sevenZip, log_to_nowhere);
  if (reader == nullptr) return 0;
  std::vector<unsigned char> room(MAX_IMAGE_SIZE);
  while (reader->next_member() != nullptr) {
    std::size_t read = 0;
    std::uint32_t crc = 0;
    reader->read_member(room.data(), room.size(), read, crc);
  }
  return 0;
}
