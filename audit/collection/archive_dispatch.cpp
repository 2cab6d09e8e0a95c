#include "collection/archive_dispatch.h"

#include <cstdio>

#include "catalogue/rom_database.h"
#include "collection/file_kinds.h"
#include "collection/identify.h"
#include "collection/run_state.h"
#include "zip/zip_reader.h"

namespace {

struct ArchiveCount {
  bool opened = false;
  int images = 0;
  bool emulatorPackage = false;
  bool crcRemembered = false;
  std::uint32_t rememberedCrc = 0;
};

void mark_had(std::uint32_t crc) {
  const int index = db_find_crc(crc);
  if (index >= 0) rom_database().have[index] = 1;
}

// First pass: how many images, and whether an executable rides along. In
// list mode every catalogued image but the last is counted on the way.
ArchiveCount count_images(const char* name) {
  ArchiveCount count;
  ZipArchive* archive = zip_open(name, run_state().logs.zip);
  if (archive == nullptr) return count;
  count.opened = true;
  const bool list_mode = run_state().options.list;
  while (const ZipEntry* entry = zip_next_entry(archive)) {
    if (name_has_extension(EXTENSIONS_EXECUTABLE, entry->name)) count.emulatorPackage = true;
    if (!name_has_extension(EXTENSIONS_2600, entry->name)) continue;
    ++count.images;
    if (list_mode && count.crcRemembered) mark_had(count.rememberedCrc);
    count.crcRemembered = true;
    count.rememberedCrc = entry->crc;
  }
  zip_close(archive);
  return count;
}

void refuse_package(const char* name, const ArchiveCount& count) {
  if (run_state().options.list) {
    if (count.crcRemembered) mark_had(count.rememberedCrc);
  } else if (count.emulatorPackage) {
    std::printf("I don't rename ROMS inside EMU distros :-) ... skipping %s\n", name);
  } else {
    std::printf("Multiple ROMS found in %s ... skipping\n", name);
  }
}

enum class Choice { next, chosen, failed };

// Extracts `entry` into the image buffer. A member whose size no image can
// have is left packed: the identification refuses it by its size.
bool extract_member(ZipArchive* archive, ZipEntry* entry) {
  const std::uint64_t size = entry->uncompressedSize;
  if (size < MIN_IMAGE_SIZE || size > MAX_IMAGE_SIZE) return true;
  if (!grow_image_buffer(size)) return false;
  return zip_read_entry(archive, entry, run_state().image.data.get()) == 0;
}

// Second pass, one entry: a catalogued CRC decides at once outside scan
// mode; otherwise a 2600 name decides and is extracted.
Choice consider_entry(ZipArchive* archive, ZipEntry* entry, std::uint64_t& size) {
  DispatchState& dispatch = run_state().dispatch;
  const bool catalogued = db_find_crc(entry->crc) >= 0;
  if (catalogued) {
    dispatch.knownCrc = entry->crc;
    dispatch.inMemory = true;
    size = entry->uncompressedSize;
    if (!run_state().options.scan) return Choice::chosen;
  }
  if (name_has_extension(EXTENSIONS_2600, entry->name)) {
    size = entry->uncompressedSize;
    dispatch.inMemory = true;
    if (!extract_member(archive, entry)) {
      dispatch.inMemory = false;
      return Choice::failed;
    }
    return Choice::chosen;
  }
  return catalogued ? Choice::chosen : Choice::next;
}

}  // namespace

std::uint64_t dispatch_archive(const char* name) {
  const ArchiveCount count = count_images(name);
  if (!count.opened) return 0;
  if (count.images > 1 || count.emulatorPackage) {
    refuse_package(name, count);
    return 0;
  }
  run_state().dispatch.knownCrc = 0;
  std::uint64_t size = 0;
  Choice choice = Choice::next;
  if (ZipArchive* archive = zip_open(name, run_state().logs.zip)) {
    while (choice == Choice::next) {
      ZipEntry* entry = zip_next_entry(archive);
      if (entry == nullptr) break;
      choice = consider_entry(archive, entry, size);
    }
    zip_close(archive);
  }
  if (choice == Choice::failed) {
    std::printf("Error reading %s ... skipping\n", name);
  } else if (choice == Choice::next) {
    std::printf("NO %s ROMS found in %s\n", SYSTEM_NAME, name);
  }
  return size;
}
