#include "app/zipped_dat.h"

#include <memory>

#include "archive/archive_reader.h"
#include "dat/dat_input.h"

namespace {

bool is_folder_name(const std::string& name) {
  return !name.empty() && (name.back() == '/' || name.back() == '\\');
}

}  // namespace

bool unpack_zipped_dat(const std::string& path, std::string& bytes, DatError& error) {
  ZipLog log;
  std::unique_ptr<ArchiveReader> archive = open_archive(path.c_str(), ArchiveFormat::zip, log);
  if (archive == nullptr) {
    error.what = "cannot read the ZIP archive";
    return false;
  }
  int files = 0;
  std::uint64_t size = 0;
  for (const ArchiveMember* member; (member = archive->next_member()) != nullptr;) {
    if (is_folder_name(member->name)) continue;
    size = member->size;
    if (++files > 1) break;
  }
  if (files != 1) {
    error.what = "a ZIP archive must hold one DAT file";
    return false;
  }
  if (size > DAT_FILE_LIMIT) {
    error.what = "file larger than 256 MiB";
    return false;
  }
  // A second pass reads the member: the listing may not stop at it.
  archive = open_archive(path.c_str(), ArchiveFormat::zip, log);
  const ArchiveMember* member = archive == nullptr ? nullptr : archive->next_member();
  while (member != nullptr && is_folder_name(member->name)) member = archive->next_member();
  bytes.resize(static_cast<std::size_t>(size));
  std::size_t read = 0;
  std::uint32_t crc = 0;
  if (member == nullptr || !archive->read_member(reinterpret_cast<unsigned char*>(bytes.data()),
                                                 bytes.size(), read, crc)) {
    error.what = "cannot unpack the DAT file from the ZIP archive";
    return false;
  }
  bytes.resize(read);
  return true;
}
