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
  ZipLog console_only;
  std::unique_ptr<ArchiveReader> archive;
  if (const ZipResult opened = open_archive(path.c_str(), ArchiveFormat::zip, archive);
      !opened.ok()) {
    zip_report(console_only, ArchiveFormat::zip, path.c_str(), opened);
    error.what = "cannot read the ZIP archive";
    return false;
  }
  if (!archive->listing().ok())
    zip_report(console_only, ArchiveFormat::zip, path.c_str(), archive->listing());
  int files = 0;
  std::size_t dat = 0;
  for (std::size_t index = 0; index < archive->members().size() && files < 2; ++index) {
    if (is_folder_name(archive->members()[index].name)) continue;
    dat = index;
    ++files;
  }
  if (files != 1) {
    error.what = "a ZIP archive must hold one DAT file";
    return false;
  }
  const std::uint64_t size = archive->members()[dat].size;
  if (size > DAT_FILE_LIMIT) {
    error.what = "file larger than 256 MiB";
    return false;
  }
  bytes.resize(static_cast<std::size_t>(size));
  std::size_t read = 0;
  std::uint32_t crc = 0;
  const ZipResult unpacked = archive->read_member(
      dat, reinterpret_cast<unsigned char*>(bytes.data()), bytes.size(), read, crc);
  if (!unpacked.ok()) {
    zip_report(console_only, ArchiveFormat::zip, path.c_str(), unpacked);
    error.what = "cannot unpack the DAT file from the ZIP archive";
    return false;
  }
  bytes.resize(read);
  return true;
}
