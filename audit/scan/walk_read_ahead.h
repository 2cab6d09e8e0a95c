#pragma once
// The walk's read-ahead: while one file of a folder is identified, the
// system is already fetching the next files the walk will read, at most
// READ_AHEAD_FILES files and READ_AHEAD_BYTES bytes asked for and not read
// yet, the file in hand included. It only hints: what the walk reads,
// decides and prints is the same with it or without it.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "system/file_system.h"

// Largest archive fetched ahead: one that holds a single image is never much
// larger than the image; a larger one is mostly left unread by the walk.
inline constexpr std::uint64_t READ_AHEAD_ARCHIVE_LIMIT = 1024 * 1024;

// Whether the walk reads the file of `entry` whole: an image of a size an
// image can have, or an archive this build reads, up to
// READ_AHEAD_ARCHIVE_LIMIT.
bool walk_reads_whole(const DirectoryEntry& entry);

class ReadAheadWindow {
 public:
  // `entries`: the listing the walk goes through, kept by reference.
  explicit ReadAheadWindow(const std::vector<DirectoryEntry>& entries) : entries_(entries) {}

  // The walk has come to entries[index]. When half the window or less is
  // still ahead, asks the file system for the next files it will read.
  void reach(std::size_t index);

 private:
  void pass(std::size_t index);

  const std::vector<DirectoryEntry>& entries_;
  std::deque<std::size_t> ahead_;  // entries asked for and not passed yet
  std::uint64_t aheadBytes_ = 0;
  std::size_t next_ = 0;  // first entry not considered yet
};
