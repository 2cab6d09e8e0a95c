// Builds without libarchive (the Windows cross-build): 7z archives and ZIP
// members of other methods than stored and deflated are refused as
// unsupported, with the ZIP reader's own messages.

#include "archive/libarchive_reader.h"
#include "zip/zip_messages.h"

std::unique_ptr<ArchiveReader> open_seven_zip(const char* path, ZipLog& log) {
  zip_report(log, ZipError::formatNotBuilt, path);
  return nullptr;
}

bool read_zip_member_through_libarchive(const char* path, ZipLog& log, const ArchiveMember&,
                                        unsigned char*, std::size_t, std::size_t&, std::uint32_t&) {
  zip_report(log, ZipError::methodUnsupported, path);
  return false;
}

bool libarchive_available() {
  return false;
}
