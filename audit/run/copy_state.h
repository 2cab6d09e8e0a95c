#pragma once
// What a copy run keeps between its copies: the journal that records each
// copy as it is made, the copies written and waiting to be synced and put
// in place, and every target name the run has filled or will fill.

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "system/file_system.h"

// The name a copy is written under, beside its target, until it is whole,
// checked and synced.
inline constexpr char COPY_TEMPORARY_SUFFIX[] = ".vald-copy";

// One copy as the undo journal keeps it.
struct CopyRecord {
  std::string temporary;  // created first, in the target's folder
  std::string target;     // the name it is put in place under
  std::uint64_t size = 0;
  std::uint32_t crc = 0;  // CRC-32 of the bytes copied
  FileIdentity identity;  // of the file the run created, which keeps it under its new name
};

// Takes the record of a copy once its temporary file is created and before
// anything is written to it; a copy whose record was refused is not made.
class CopyRecorder {
 public:
  virtual ~CopyRecorder() = default;
  virtual FsResult record_copy(const CopyRecord& copy) = 0;
};

// A copy written and read back, waiting for its sync and its final name.
struct PendingCopy {
  CopyRecord record;
  std::string source;  // as the user knows it, for messages
};

// The size and CRC-32 of what a target name holds or will hold; in a plan,
// which writes nothing to compare with, the SHA-1 as well.
struct CopiedBytes {
  std::uint64_t size = 0;
  std::uint32_t crc = 0;
  std::array<unsigned char, 20> sha1{};
};

// A copy waiting for the run to know where it goes: its bytes held in
// memory, or (past a bound) written under a temporary name of the staging
// folder.
struct StagedCopy {
  std::string temporary;  // from the target root
  FileIdentity identity;  // of the file the run made
  CopiedBytes digest;
  std::string held;  // the bytes, held in memory while the run may hold them
  std::string root;  // the staging folder's place, from the target root
};

// An image of a run that places its copies only once every image is known
// (one image per game, an export's layout).
struct StagedImage {
  int entry = -1;
  std::string shown;     // the image as the user knows it
  std::string name;      // the file it was found in, for its extension
  bool archive = false;  // copied whole: an archive keeps its own extension
  std::string scheme;    // its bankswitch scheme's name: the catalogue's, else its bytes'
  StagedCopy copy;
};

// A target name this run filled or will fill.
struct FilledName {
  CopiedBytes digest;
  std::string temporary;  // while the copy waits for its batch
};

struct CopyState {
  CopyRecorder* recorder = nullptr;  // none in a plan
  std::vector<PendingCopy> pending;
  std::unordered_map<std::string, FilledName> placed;  // by target, this run
  int copied = 0;                                      // put in place (planned, in a plan)
  int alreadyThere = 0;
  std::vector<StagedImage> staged;  // in the order the walk found them
  int stagedFiles = 0;              // names given in the staging folder
  std::size_t heldBytes = 0;        // bytes held in memory of what the run staged
};
