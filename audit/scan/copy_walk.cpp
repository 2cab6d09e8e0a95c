#include "scan/copy_walk.h"

#include <string>
#include <vector>

#include "catalogue/rom_database.h"
#include "naming/placer.h"
#include "naming/rename_engine.h"
#include "run/failure_messages.h"
#include "run/found_images.h"
#include "run/run_state.h"
#include "scan/file_kinds.h"
#include "scan/identify.h"
#include "scan/scan_messages.h"
#include "scan/walk.h"
#include "system/file_system.h"
#include "system/hex_digits.h"

namespace {

// Reads an image member into the image buffer and copies it when its data
// are catalogued. Members no image can be as large as are never read.
void copy_member(ArchiveReader& reader, const char* pack, const ArchiveMember& member) {
  if (member.size < MIN_IMAGE_SIZE || member.size > MAX_IMAGE_SIZE) return;
  if (member.crcKnown && db_find_crc(member.crc) < 0) return;
  if (!grow_image_buffer(member.size)) return;
  std::size_t size = 0;
  std::uint32_t crc = 0;
  if (!reader.read_member(run_state().image.data.get(), MAX_IMAGE_SIZE, size, crc)) return;
  run_state().dispatch = DispatchState{};
  run_state().dispatch.memberName = member.name;
  const std::string shown = std::string(pack) + "/" + member.name;
  if (!passes_verify(crc, pack, size, shown.c_str())) return;
  record_found_image(crc, size, pack, member.name);
  run_state().dispatch = DispatchState{};  // named as a loose image
  const std::string leaf = member.name.substr(member.name.find_last_of("/\\") + 1);
  copy_image(crc_text(crc).c_str(), leaf.c_str(), size);
}

}  // namespace

void copy_pack(const char* name, ArchiveFormat format) {
  const std::unique_ptr<ArchiveReader> reader = open_archive(name, format, run_state().logs.zip);
  if (reader == nullptr) return;
  while (const ArchiveMember* member = reader->next_member()) {
    if (is_archive_name(member->name.c_str())) {
      print_nested_archive(name, member->name);
    } else if (name_has_extension(EXTENSIONS_2600, member->name.c_str())) {
      copy_member(*reader, name, *member);
    }
  }
}
