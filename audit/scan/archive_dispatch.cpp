// The passes over an archive (ZIP or 7z), on one open reader: count its
// images (and look for an emulator package), then choose the one image and
// extract it. A member counts only for the CRC-32 its data have: every
// member that would be identified or counted is read and checked, never
// taken on the directory's word.

#include "scan/archive_dispatch.h"

#include <memory>
#include <string>

#include "catalogue/rom_database.h"
#include "naming/placer.h"
#include "run/run_state.h"
#include "scan/file_kinds.h"
#include "scan/identify.h"
#include "scan/scan_messages.h"
#include "system/hex_digits.h"

namespace {

// The archive in hand, open once for every pass over it.
struct OpenArchive {
  const char* name;
  ArchiveFormat format;
  std::unique_ptr<ArchiveReader> reader;

  const std::vector<ArchiveMember>& members() const { return reader->members(); }
  void report(const ZipResult& result) const {
    zip_report(run_state().logs.zip, format, name, result);
  }
};

// A ZIP listing cut short is said again by every pass that reaches its end,
// as the ZIP reader has always said it on each walk of its directory.
void end_of_listing(const OpenArchive& archive) {
  if (archive.format == ArchiveFormat::zip && !archive.reader->listing().ok()) {
    archive.report(archive.reader->listing());
  }
}

struct ArchiveCount {
  int images = 0;
  bool emulatorPackage = false;
};

// Counts a catalogued member of an archive that is not identified; verify
// counts nothing on the archive's claim alone.
void mark_had(std::uint32_t crc, const char* name, const ArchiveMember& member) {
  const int index = db_find_crc(crc);
  if (index < 0 || run_state().options.verify) return;
  rom_database().have[index] = 1;
  record_buffered_image(crc, member.size, name, member.name);
}

bool catalogued(const ArchiveMember& member) {
  return member.crcKnown && db_find_crc(member.crc) >= 0;
}

bool fits_an_image(std::uint64_t size) {
  return size >= MIN_IMAGE_SIZE && size <= MAX_IMAGE_SIZE;
}

// Reads the member `index` into the image buffer; its data's CRC-32 goes to
// `crc`. False when the data cannot be read or fail a check (said here).
bool read_into_image(const OpenArchive& archive, std::size_t index, std::uint32_t& crc) {
  if (!grow_image_buffer(archive.members()[index].size)) return false;
  std::size_t size = 0;
  const ZipResult read =
      archive.reader->read_member(index, run_state().image.data.get(), MAX_IMAGE_SIZE, size, crc);
  if (!read.ok()) archive.report(read);
  return read.ok();
}

// The CRC-32 a member of an archive that is not identified counts for in
// list mode: the one its data have, none when they cannot be read.
bool countable_crc(const OpenArchive& archive, std::size_t index, std::uint32_t& crc) {
  const ArchiveMember& member = archive.members()[index];
  if (member.crcKnown && !catalogued(member)) return false;  // nothing to count
  return fits_an_image(member.size) && read_into_image(archive, index, crc);
}

// First pass, names only: how many images, and whether an executable rides
// along.
ArchiveCount count_images(const OpenArchive& archive) {
  ArchiveCount count;
  for (const ArchiveMember& member : archive.members()) {
    if (name_has_extension(EXTENSIONS_EXECUTABLE, member.name.c_str())) {
      count.emulatorPackage = true;
    }
    if (name_has_extension(EXTENSIONS_2600, member.name.c_str())) ++count.images;
  }
  return count;
}

// List mode counts every catalogued image of an archive it does not
// identify, each checked against its data.
void count_refused_images(const OpenArchive& archive) {
  zip_begin_members(run_state().logs.zip);
  for (std::size_t index = 0; index < archive.members().size(); ++index) {
    const ArchiveMember& member = archive.members()[index];
    std::uint32_t crc = 0;
    if (name_has_extension(EXTENSIONS_2600, member.name.c_str()) &&
        countable_crc(archive, index, crc)) {
      mark_had(crc, archive.name, member);
    }
  }
  end_of_listing(archive);
  zip_end_members(run_state().logs.zip);
}

// Reads an image member into the image buffer and copies it when its data
// are catalogued. Members no image can be as large as are never read.
void copy_member(const OpenArchive& archive, std::size_t index) {
  const ArchiveMember& member = archive.members()[index];
  if (!fits_an_image(member.size) || (member.crcKnown && !catalogued(member))) return;
  std::uint32_t crc = 0;
  if (!read_into_image(archive, index, crc)) return;
  const auto size = static_cast<std::size_t>(member.size);  // the read checked it
  run_state().dispatch = DispatchState{};
  run_state().dispatch.memberName = member.name;
  const std::string shown = std::string(archive.name) + "/" + member.name;
  if (!passes_verify(crc, archive.name, size, shown.c_str())) return;
  record_buffered_image(crc, size, archive.name, member.name);
  run_state().dispatch = DispatchState{};  // named as a loose image
  const std::string leaf = member.name.substr(member.name.find_last_of("/\\") + 1);
  copy_image(crc_text(crc).c_str(), leaf.c_str(), size);
}

// Copies every catalogued image member of a pack as a loose image; members
// that are archives themselves are skipped and named.
void copy_pack(const OpenArchive& archive) {
  for (std::size_t index = 0; index < archive.members().size(); ++index) {
    const ArchiveMember& member = archive.members()[index];
    if (is_archive_name(member.name.c_str())) {
      print_nested_archive(archive.name, member.name);
    } else if (name_has_extension(EXTENSIONS_2600, member.name.c_str())) {
      copy_member(archive, index);
    }
  }
  end_of_listing(archive);
}

// A pack of several images: the copy mode unpacks it, list counts it, the
// other modes skip it.
void refuse_package(const OpenArchive& archive, const ArchiveCount& count) {
  if (run_state().options.copy && count.images > 1) {
    copy_pack(archive);
  } else if (run_state().options.list) {
    count_refused_images(archive);
  } else if (count.emulatorPackage) {
    print_emulator_package(archive.name);
  } else {
    print_multiple_images(archive.name);
  }
}

enum class Choice { next, chosen, failed };

// Second pass, one member: a catalogued CRC decides first, a 2600 name
// second. A member no image can be as large or small as is left packed: the
// identification refuses it by its size. Any other deciding member is read,
// and the CRC-32 of its data is the one identified.
Choice consider_member(const OpenArchive& archive, std::size_t index, std::uint64_t& size) {
  const ArchiveMember& member = archive.members()[index];
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
  if (!read_into_image(archive, index, crc)) return Choice::failed;
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

// Second pass: the members in order until one decides.
std::uint64_t choose_image(const OpenArchive& archive) {
  run_state().dispatch.knownCrc = 0;
  std::uint64_t size = 0;
  Choice choice = Choice::next;
  for (std::size_t index = 0; choice == Choice::next && index < archive.members().size(); ++index) {
    choice = consider_member(archive, index, size);
  }
  if (choice == Choice::next) end_of_listing(archive);
  if (choice == Choice::failed) {
    run_state().dispatch = DispatchState{};
    print_archive_unread(archive.name);
  } else if (choice == Choice::next) {
    print_no_images(archive.name);
  }
  return size;
}

}  // namespace

std::uint64_t dispatch_archive(const char* name, ArchiveFormat format) {
  OpenArchive archive{name, format, nullptr};
  if (const ZipResult opened = open_archive(name, format, archive.reader); !opened.ok()) {
    archive.report(opened);
    return 0;
  }
  if (const ZipResult& listing = archive.reader->listing(); !listing.ok()) {
    archive.report(listing);
    // A ZIP directory cut short still gives the members before the cut.
    if (format != ArchiveFormat::zip) return 0;
  }
  const ArchiveCount count = count_images(archive);
  if (count.images > 1 || count.emulatorPackage) {
    refuse_package(archive, count);
    return 0;
  }
  return choose_image(archive);
}
