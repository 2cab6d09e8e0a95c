// Builds without libarchive (the Windows cross-build): 7z archives and ZIP
// members of other methods than stored and deflated are refused as
// unsupported, with the ZIP reader's own messages.

#include <utility>

#include "archive/libarchive_reader.h"
#include "zip/zip_messages.h"

ZipResult open_seven_zip(const char*, std::unique_ptr<ArchiveReader>&) {
  return zip_failure(ZipError::formatNotBuilt);
}

struct ZipMembersThroughLibarchive::Handle {};

ZipMembersThroughLibarchive::ZipMembersThroughLibarchive(std::string path)
    : path_(std::move(path)) {}

ZipMembersThroughLibarchive::~ZipMembersThroughLibarchive() = default;

ZipResult ZipMembersThroughLibarchive::read(const ArchiveMember&, unsigned char*, std::size_t,
                                            std::size_t&, std::uint32_t&) {
  return zip_failure(ZipError::methodUnsupported);
}

bool libarchive_available() {
  return false;
}
