// The two passes over an archive (ZIP or 7z): count its images (and look for
// an emulator package), then choose the one image and extract it. A member
// counts only for the CRC-32 its data have: every member that would be
// identified or counted is read and checked, never taken on the directory's
// word.

#include "scan/archive_dispatch.h"

#include "catalogue/rom_database.h"
#include "run/run_state.h"
#include "scan/copy_walk.h"
#include "scan/file_kinds.h"
#include "scan/identify.h"
#include "scan/scan_messages.h"

namespace {

struct ArchiveCount {
  bool opened = false;
  int images = 0;
  bool emulatorPackage = false;
};

// Counts a catalogued member of an archive that is not identified; verify
// counts nothing on the archive's claim alone.
void mark_had(std::uint32_t crc, const char* name, const ArchiveMember& member) {
  const int index = db_find_crc(crc);
  if (index < 0 || run_state().options.verify) return;
  rom_database().have[index] = 1;
  record_found_image(crc, member.size, name, member.name);
}

bool catalogued(const ArchiveMember& member) {
  return member.crcKnown && db_find_crc(member.crc) >= 0;
}

bool fits_an_image(std::uint64_t size) {
  return size >= MIN_IMAGE_SIZE && size <= MAX_IMAGE_SIZE;
}

// Reads `member` into the image buffer; its data's CRC-32 goes to `crc`.
// False (reported by the reader) when the data cannot be read or fail a check.
bool read_into_image(ArchiveReader& reader, const ArchiveMember& member, std::uint32_t& crc) {
  if (!grow_image_buffer(member.size)) return false;
  std::size_t size = 0;
  return reader.read_member(run_state().image.data.get(), MAX_IMAGE_SIZE, size, crc);
}

// The CRC-32 a member of an archive that is not identified counts for in
// list mode: the one its data have, none when they cannot be read.
bool countable_crc(ArchiveReader& reader, const ArchiveMember& member, std::uint32_t& crc) {
  if (member.crcKnown && !catalogued(member)) return false;  // nothing to count
  return fits_an_image(member.size) && read_into_image(reader, member, crc);
}

// First pass, names only: how many images, and whether an executable rides
// along.
ArchiveCount count_images(const char* name, ArchiveFormat format) {
  ArchiveCount count;
  const std::unique_ptr<ArchiveReader> reader = open_archive(name, format, run_state().logs.zip);
  if (reader == nullptr) return count;
  while (const ArchiveMember* member = reader->next_member()) {
    if (name_has_extension(EXTENSIONS_EXECUTABLE, member->name.c_str())) {
      count.emulatorPackage = true;
    }
    if (name_has_extension(EXTENSIONS_2600, member->name.c_str())) ++count.images;
  }
  count.opened = !reader->listing_failed();
  return count;
}

// List mode counts every catalogued image of an archive it does not
// identify, each checked against its data.
void count_refused_images(const char* name, ArchiveFormat format) {
  const std::unique_ptr<ArchiveReader> reader = open_archive(name, format, run_state().logs.zip);
  if (reader == nullptr) return;
  zip_begin_members(run_state().logs.zip);
  while (const ArchiveMember* member = reader->next_member()) {
    std::uint32_t crc = 0;
    if (name_has_extension(EXTENSIONS_2600, member->name.c_str()) &&
        countable_crc(*reader, *member, crc)) {
      mark_had(crc, name, *member);
    }
  }
  zip_end_members(run_state().logs.zip);
}

// A pack of several images: the copy mode unpacks it, list counts it, the
// other modes skip it.
void refuse_package(const char* name, ArchiveFormat format, const ArchiveCount& count) {
  if (run_state().options.copy && count.images > 1) {
    copy_pack(name, format);
  } else if (run_state().options.list) {
    count_refused_images(name, format);
  } else if (count.emulatorPackage) {
    print_emulator_package(name);
  } else {
    print_multiple_images(name);
  }
}

enum class Choice { next, chosen, failed };

// Second pass, one member: a catalogued CRC decides first, a 2600 name
// second. A member no image can be as large or small as is left packed: the
// identification refuses it by its size. Any other deciding member is read,
// and the CRC-32 of its data is the one identified.
Choice consider_member(ArchiveReader& reader, const ArchiveMember& member, std::uint64_t& size) {
  const bool image_name = name_has_extension(EXTENSIONS_2600, member.name.c_str());
  const bool may_decide = image_name || catalogued(member) || !member.crcKnown;
  if (!may_decide) return Choice::next;
  if (!fits_an_image(member.size)) {
    if (!image_name && !catalogued(member)) return Choice::next;
    size = member.size;
    run_state().dispatch.inMemory = true;
    run_state().dispatch.memberName = member.name;
    return Choice::chosen;
  }
  std::uint32_t crc = 0;
  if (!read_into_image(reader, member, crc)) return Choice::failed;
  const bool known = db_find_crc(crc) >= 0;
  if (!image_name && !known) return Choice::next;  // a 7z member read for its CRC
  DispatchState& dispatch = run_state().dispatch;
  dispatch.inMemory = true;
  dispatch.dataCrc = crc;
  dispatch.dataCrcKnown = true;
  if (known) dispatch.knownCrc = crc;
  dispatch.memberName = member.name;
  size = member.size;
  return Choice::chosen;
}

}  // namespace

std::uint64_t dispatch_archive(const char* name, ArchiveFormat format) {
  const ArchiveCount count = count_images(name, format);
  if (!count.opened) return 0;
  if (count.images > 1 || count.emulatorPackage) {
    refuse_package(name, format, count);
    return 0;
  }
  run_state().dispatch.knownCrc = 0;
  std::uint64_t size = 0;
  Choice choice = Choice::next;
  if (const std::unique_ptr<ArchiveReader> reader =
          open_archive(name, format, run_state().logs.zip)) {
    while (choice == Choice::next) {
      const ArchiveMember* member = reader->next_member();
      if (member == nullptr) break;
      choice = consider_member(*reader, *member, size);
    }
  }
  if (choice == Choice::failed) {
    run_state().dispatch = DispatchState{};
    print_archive_unread(name);
  } else if (choice == Choice::next) {
    print_no_images(name);
  }
  return size;
}
