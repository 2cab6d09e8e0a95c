// Read-ahead on POSIX systems: a hint to the page cache, nothing held open.

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include "system/read_ahead.h"

namespace {

// Opens `path` to read without ever waiting: a FIFO or a device that
// happens to carry an image's name must not stall a hint.
int open_to_look(const std::string& path) {
  return open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

// Whether the first page of `path` is in the page cache. A file that
// cannot be mapped counts as not cached.
bool first_page_cached(const std::string& path) {
  const int file = open_to_look(path);
  if (file < 0) return false;
  const long page = sysconf(_SC_PAGESIZE);
  void* const map = mmap(nullptr, static_cast<std::size_t>(page), PROT_READ, MAP_SHARED, file, 0);
  close(file);
  if (map == MAP_FAILED) return false;
  unsigned char resident = 0;
  const bool cached =
      mincore(map, static_cast<std::size_t>(page), &resident) == 0 && (resident & 1) != 0;
  munmap(map, static_cast<std::size_t>(page));
  return cached;
}

void hint(const ReadAheadFile& file) {
  const int descriptor = open_to_look(file.path);
  if (descriptor < 0) return;  // gone already: its reader will say so
  posix_fadvise(descriptor, 0, static_cast<off_t>(file.size), POSIX_FADV_WILLNEED);
  close(descriptor);
}

}  // namespace

void start_read_ahead(const std::vector<ReadAheadFile>& files) {
  // One look per batch: in a folder that was read a moment ago every hint
  // would only cost its three calls.
  if (files.empty() || first_page_cached(files.front().path)) return;
  for (const ReadAheadFile& file : files) hint(file);
}

void settle_read_ahead(const std::string&) {}

void settle_all_read_ahead() {}
