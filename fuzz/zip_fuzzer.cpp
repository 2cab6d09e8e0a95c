// libFuzzer target for the ZIP reader: opens the input as an archive, walks
// its whole directory and extracts every entry into a buffer of exactly the
// entry's uncompressed size, so that AddressSanitizer sees any write past it.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "zip/zip_reader.h"

namespace {

// Entries claiming more are skipped rather than given gigabytes of room.
constexpr std::uint32_t LARGEST_ROOM = 8 * 1024 * 1024;

int archive_file = -1;
std::string archive_path;
ZipLog log;  // every problem is written, to /dev/null

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The reader opens archives by path: give it a file that lives in memory.
  archive_file = memfd_create("fuzz.zip", 0);
  if (archive_file < 0) return 1;
  archive_path = "/proc/self/fd/" + std::to_string(archive_file);
  // Console lines and the log go nowhere, but every line is still written.
  if (std::freopen("/dev/null", "w", stdout) == nullptr) return 1;
  log.file = std::fopen("/dev/null", "w");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (ftruncate(archive_file, 0) != 0) return 0;
  if (size > 0 && pwrite(archive_file, data, size, 0) != static_cast<ssize_t>(size)) return 0;
  ZipArchive* archive = zip_open(archive_path.c_str(), log);
  if (archive == nullptr) return 0;
  while (ZipEntry* entry = zip_next_entry(archive)) {
    if (entry->uncompressedSize > LARGEST_ROOM) continue;
    std::vector<unsigned char> room(entry->uncompressedSize);
    zip_read_entry(archive, entry, room.data());
  }
  zip_close(archive);
  return 0;
}
