#pragma once
// How the real disk fetches files ahead of the reads, for each system. Only
// the system layer uses this.
//
// POSIX: a read of the first file's first byte that may not wait for the
// disk tells whether the files are cached; when they are not, each file gets
// posix_fadvise(POSIX_FADV_WILLNEED), which queues its reads and returns.
// Nothing stays open.
//
// Windows: each file is opened for reading only, sharing read, write and
// delete, and one overlapped read of it is started; the handle stays open
// only while that read is under way. Before a file is opened, moved or
// removed, and before the current directory changes, a read-ahead still
// holding it is waited for and closed.

#include <string>
#include <vector>

#include "system/file_system.h"

// Starts fetching `files`. Windows holds at most READ_AHEAD_FILES files
// and READ_AHEAD_BYTES bytes at once, waiting for the oldest beyond that.
void start_read_ahead(const std::vector<ReadAheadFile>& files);

// Finishes and closes a read-ahead that holds `path` (a path as given to
// start_read_ahead), so that the file can be used as if none had been made.
void settle_read_ahead(const std::string& path);

// The same for every read-ahead, before relative paths change their meaning.
void settle_all_read_ahead();
