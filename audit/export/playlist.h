#pragma once
// RetroArch's playlist of a collection: the JSON file "Atari - 2600.lpl"
// (format 1.5) that lists each image with its label and CRC-32, by which
// RetroArch finds the game's thumbnails and starts a core it detects.

#include <cstdint>
#include <string>
#include <vector>

// The playlist's file name, which is also the database name of every item.
inline constexpr char PLAYLIST_FILE_NAME[] = "Atari - 2600.lpl";

// One image of the playlist.
struct PlaylistItem {
  std::string path;   // the image's full path
  std::string label;  // its catalogue name (a DAT's name with dat=)
  std::uint32_t crc = 0;
};

// The playlist of `items` as a whole file, sorted by label with ASCII letter
// case ignored (then by label and path, bytewise, so that the order is
// always the same). The playlist is made from the items alone: an earlier
// playlist at its place is not read, the caller replaces it.
std::string retroarch_playlist(const std::vector<PlaylistItem>& items);
