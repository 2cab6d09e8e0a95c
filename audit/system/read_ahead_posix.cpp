// Read-ahead on POSIX systems: a hint to the page cache, nothing held open.

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include "system/read_ahead.h"

namespace {

// Opens `path` to read without ever waiting: a FIFO or a device that
// happens to carry an image's name must not stall a hint.
int open_to_look(const std::string& path) {
  return open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

// Whether the start of `path` is in the page cache: a read that may not
// wait for the disk gets its first byte.
bool start_cached(const std::string& path) {
  const int file = open_to_look(path);
  if (file < 0) return false;
  char byte = 0;
  iovec piece{&byte, 1};
  const bool cached = preadv2(file, &piece, 1, 0, RWF_NOWAIT) == 1;
  close(file);
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
  if (files.empty() || start_cached(files.front().path)) return;
  for (const ReadAheadFile& file : files) hint(file);
}

void settle_read_ahead(const std::string&) {}

void settle_all_read_ahead() {}
