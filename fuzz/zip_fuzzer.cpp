// Fuzz target for the ZIP reader: opens the input as an archive, walks its
// whole directory and extracts every entry into a buffer of exactly the
// entry's uncompressed size, so that AddressSanitizer sees any write past
// it; every problem is said, as a run says it.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

#include "system/file_system.h"
#include "zip/zip_reader.h"

namespace {

// Entries claiming more are skipped rather than given gigabytes of room.
constexpr std::uint32_t LARGEST_ROOM = 8 * 1024 * 1024;

ZipLog log;  // every problem is written, and discarded

void say(const ZipResult& result) {
  if (!result.ok()) zip_report(log, ArchiveFormat::zip, "fuzz.zip", result);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Console lines and the log go nowhere, but every line is still written.
  if (std::freopen("/dev/null", "w", stdout) == nullptr) return 1;
  log.file = open_collecting(nullptr);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ZipHandle archive;
  if (const ZipResult opened = zip_open_stream(open_memory(bytes), archive); !opened.ok()) {
    say(opened);
    return 0;
  }
  for (;;) {
    const ZipEntry* entry = nullptr;
    const ZipResult next = zip_next_entry(*archive, entry);
    say(next);
    if (entry == nullptr) break;
    if (entry->uncompressedSize > LARGEST_ROOM) continue;
    std::vector<unsigned char> room(entry->uncompressedSize);
    say(zip_read_entry(*archive, *entry, room.data()));
  }
  return 0;
}
