// Read-ahead on Windows: overlapped reads that fill the system's file cache.
// Windows has no hint that takes a name, so each file is opened and read
// without waiting; the data land in the cache and in a buffer that is
// dropped. A handle stays open only while its read is under way, and it
// shares deletion, so the file can still be renamed or removed meanwhile.

#include <windows.h>

#include <deque>
#include <memory>

#include "system/read_ahead.h"
#include "system/windows_text.h"

namespace {

// One read under way. It stays at its address: the system writes to the
// OVERLAPPED record and the buffer until the read is finished.
struct PendingRead {
  std::string path;
  HANDLE file = INVALID_HANDLE_VALUE;
  OVERLAPPED overlapped{};
  std::unique_ptr<char[]> buffer;
  std::uint64_t size = 0;
};

std::deque<std::unique_ptr<PendingRead>> pending;
std::uint64_t pending_bytes = 0;

void finish(PendingRead& read) {
  DWORD got = 0;
  GetOverlappedResult(read.file, &read.overlapped, &got, TRUE);
  CloseHandle(read.file);
  pending_bytes -= read.size;
}

void finish_oldest() {
  finish(*pending.front());
  pending.pop_front();
}

// Closes the reads at the front that are done, so no handle stays open
// longer than its read.
void finish_completed() {
  while (!pending.empty() && HasOverlappedIoCompleted(&pending.front()->overlapped)) {
    finish_oldest();
  }
}

// Starts the read of `file`; keeps it in `pending` while it is under way.
void start(const ReadAheadFile& file) {
  if (file.size == 0 || file.size > READ_AHEAD_BYTES) return;
  auto read = std::make_unique<PendingRead>();
  read->file =
      CreateFileW(system_path(file.path).c_str(), GENERIC_READ,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_FLAG_OVERLAPPED | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (read->file == INVALID_HANDLE_VALUE) return;  // gone already: its reader will say so
  read->buffer = std::make_unique<char[]>(file.size);
  if (ReadFile(read->file, read->buffer.get(), static_cast<DWORD>(file.size), nullptr,
               &read->overlapped) ||
      GetLastError() != ERROR_IO_PENDING) {
    CloseHandle(read->file);  // done at once (the data were cached), or refused
    return;
  }
  read->path = file.path;
  read->size = file.size;
  pending_bytes += file.size;
  pending.push_back(std::move(read));
}

// Finishes every read at exit, before their buffers go.
struct FinishAtExit {
  ~FinishAtExit() { settle_all_read_ahead(); }
} finish_at_exit;

}  // namespace

void start_read_ahead(const std::vector<ReadAheadFile>& files) {
  finish_completed();
  for (const ReadAheadFile& file : files) {
    while (!pending.empty() &&
           (pending.size() >= READ_AHEAD_FILES || pending_bytes + file.size > READ_AHEAD_BYTES)) {
      finish_oldest();
    }
    start(file);
  }
}

void settle_read_ahead(const std::string& path) {
  finish_completed();
  for (auto read = pending.begin(); read != pending.end();) {
    if ((*read)->path == path) {
      finish(**read);
      read = pending.erase(read);
    } else {
      ++read;
    }
  }
}

void settle_all_read_ahead() {
  while (!pending.empty()) finish_oldest();
}
