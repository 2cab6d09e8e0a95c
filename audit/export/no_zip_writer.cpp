// Builds without libarchive (the Windows cross-build) write no ZIP files:
// the mame export says so once and writes nothing.

#include "export/mame_zip.h"

ZipWriteResult write_reproducible_zip(FileStream&, const std::vector<ZipMemberData>&) {
  return {{}, ZIP_WRITING_UNAVAILABLE};
}

bool zip_writing_available() {
  return false;
}
