#pragma once
// What a run found, image by image, kept only when the run writes the CSV
// report: each image's CRC-32, size and path below the start folder, which
// catalogue entry it is, if any, and its bankswitch scheme and TV system.

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/catalogue_entry.h"

// catalogued: a catalogue entry; unknown: a 2600 image the catalogue does
// not know; mismatch: refused by its size or a hash that differs from its
// entry's (the note says which).
enum class FoundKind { catalogued, unknown, mismatch };

struct FoundImage {
  FoundKind kind = FoundKind::catalogued;
  int entry = -1;  // catalogue position; -1 for an unknown image
  std::uint32_t crc = 0;
  std::uint64_t size = 0;
  std::string file;  // relative to the start folder; "archive.zip/member.bin" inside one
  std::string note;
  // The scheme's name, static text ("F8SC"); the layer that holds the
  // image's bytes fills it in, "" when their size fits no scheme.
  const char* scheme = "";
  TvSystem tv = TvSystem::ntsc;
};

struct FoundImages {
  bool recording = false;          // the run writes the CSV report
  std::string folder;              // the walk's folder, relative to the start folder; "" at the top
  std::vector<FoundImage> images;  // in the order the walk found them
};

// The path of the file `name` in the walk's current folder, relative to the
// start folder; with `member`, the member inside that archive.
std::string found_file_path(const std::string& folder, const std::string& name,
                            const std::string& member);

// The catalogue entry of the image identified last, given `first`, the
// first entry of its CRC-32 (-1: none): the one verify matched the image to
// when verify checked it, else `first`.
int identified_entry(int first);

// Records an identified image of `size` bytes with this CRC-32: the file
// `name` of the walk's current folder, or its archive `member` when that is
// not empty. A catalogue entry when the catalogue knows the CRC (the one
// identified_entry gives), with the entry's TV system, else an unknown
// image, with the TV system its name gives. Returns the record, or does
// nothing and returns nullptr unless the run is recording.
FoundImage* record_found_image(std::uint32_t crc, std::uint64_t size, const std::string& name,
                               const std::string& member);

// Notes that the image recorded last was moved to `to` (relative to the
// folder it was found in). Does nothing unless the run is recording.
void note_found_image_moved(const std::string& to);

// Records an image refused as catalogue entry `entry` (-1: none), found as
// for record_found_image, with the reason in `note`. Returns the record, or
// does nothing and returns nullptr unless the run is recording.
FoundImage* record_refused_image(int entry, std::uint32_t crc, std::uint64_t size,
                                 const std::string& name, const std::string& member,
                                 const std::string& note);
