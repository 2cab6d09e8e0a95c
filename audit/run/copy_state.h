#pragma once
// What a copy run keeps between its copies: the journal that records each
// copy before it is made, the copies written and waiting to be synced and
// put in place, and every target name the run has filled or will fill.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "system/file_system.h"

// The name a copy is written under, beside its target, until it is whole,
// checked and synced.
inline constexpr char COPY_TEMPORARY_SUFFIX[] = ".vald-copy";

// One copy as the undo journal keeps it.
struct CopyRecord {
  std::string temporary;  // written first, in the target's folder
  std::string target;     // the name it is put in place under
  std::uint64_t size = 0;
  std::uint32_t crc = 0;  // CRC-32 of the bytes copied
};

// Takes the record of a copy before the copy is made; a copy whose record
// was refused is not made.
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

// The size and CRC-32 of what a target name holds or will hold.
struct CopiedBytes {
  std::uint64_t size = 0;
  std::uint32_t crc = 0;
};

struct CopyState {
  CopyRecorder* recorder = nullptr;  // none in a plan
  std::vector<PendingCopy> pending;
  std::unordered_map<std::string, CopiedBytes> placed;  // by target, this run
  std::unordered_set<std::string> waiting;              // targets of the pending copies
  int copied = 0;                                       // put in place (planned, in a plan)
  int alreadyThere = 0;
};
