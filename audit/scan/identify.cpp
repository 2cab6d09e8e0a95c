#include "scan/identify.h"

#include <zlib.h>

#include "catalogue/entry_verification.h"
#include "catalogue/rom_database.h"
#include "files/tool_files.h"
#include "naming/placer.h"
#include "naming/rename_engine.h"
#include "run/failure_messages.h"
#include "run/run_state.h"
#include "scan/scan_messages.h"
#include "sniff/sniff.h"
#include "system/file_system.h"
#include "system/hex_digits.h"
#include "system/tool_file_names.h"

namespace {

// Reads the whole file into the image buffer; false, after saying why, when
// it cannot. A file that yields fewer bytes than listed, without an error,
// has changed since the listing and is treated as one that does not open.
bool read_image(FileStream& file, const char* name, std::size_t size) {
  const bool complete = file.read(run_state().image.data.get(), size) == size;
  (void)file.close();  // a read that failed is kept in failure()
  if (const FsResult failure = file.failure(); !failure.ok()) {
    print_cannot_read(name, failure);
    return false;
  }
  if (!complete) print_cannot_open(name);
  return complete;
}

std::uint32_t image_crc(std::size_t size) {
  return static_cast<std::uint32_t>(
      crc32(0L, run_state().image.data.get(), static_cast<uInt>(size)));
}

// Whether scan mode writes a record for an image with this CRC text; one
// that verify refused counts as not catalogued.
bool wants_scan_record(const char* crc_text, bool refused) {
  const RunOptions& options = run_state().options;
  if (!options.scan) return false;
  const bool catalogued = !refused && db_find_crc_text(crc_text, 0) >= 0;
  return !(options.scanNew && !options.deep && catalogued);
}

void append_scan_record(std::uint32_t crc, const char* name) {
  FileHandle& log = run_state().logs.scan;
  if (log == nullptr) log = append_to_tool_file(SCAN_LOG_NAME);
  if (log == nullptr) return;  // the next image tries again
  // A failed write stays in the log; closing the logs says so.
  (void)print_to(*log, "\"%08lx %s\",\n", static_cast<unsigned long>(crc),
                 scan_record_name(name).c_str());
}

}  // namespace

bool passes_verify(std::uint32_t crc, const char* name, std::size_t size, const char* shown) {
  VerifyState& verify = run_state().verify;
  verify.lastChecked = false;
  if (!run_state().options.verify) return true;
  const int index = db_find_crc(crc);
  if (index < 0) return true;
  verify.last = verify_image(index, run_state().image.data.get(), size);
  verify.lastChecked = true;
  count_verification(verify.counts, verify.last);
  if (verify.last.passed()) return true;
  print_verify_refusal(shown != nullptr ? shown : name, db_name(index), verify.last.failed);
  record_refused_image(index, crc, size, name, run_state().dispatch.memberName,
                       verify_failure_note(verify.last.failed));
  return false;
}

std::string scan_record_name(std::string_view name) {
  const std::size_t last_dot = name.rfind('.');
  if (last_dot == std::string_view::npos || last_dot == 0) return std::string(name);
  return std::string(name.substr(0, last_dot));
}

void identify_image(const char* name, std::uint64_t size) {
  const DispatchState& dispatch = run_state().dispatch;
  FileHandle file;
  if (!dispatch.inMemory) {
    // One read of the whole image: a stream buffer would only add a copy.
    if (!file_system().open(name, "rb", file, true).ok()) {
      print_cannot_open(name);
      return;
    }
  }
  // The size is checked before the buffer grows, so a huge listed length
  // never costs memory.
  if (size < MIN_IMAGE_SIZE || size > MAX_IMAGE_SIZE || !grow_image_buffer(size)) {
    print_bad_size(name);
    return;
  }
  if (file != nullptr && !read_image(*file, name, size)) return;

  std::uint32_t crc = dispatch.knownCrc;
  if (crc == 0) {
    if (!sniff_2600_image(run_state().image.data.get(), size)) {
      print_not_2600(name);
      return;
    }
    crc = dispatch.dataCrcKnown ? dispatch.dataCrc : image_crc(size);
  }
  const std::string crc_hex = crc_text(crc);

  if (!passes_verify(crc, name, size)) {
    if (wants_scan_record(crc_hex.c_str(), true)) append_scan_record(crc, name);
    return;
  }
  record_found_image(crc, size, name, dispatch.memberName);
  if (run_state().options.rename) rename_image(crc_hex.c_str(), name);
  if (run_state().options.copy) copy_image(crc_hex.c_str(), name, size);
  if (wants_scan_record(crc_hex.c_str(), false)) append_scan_record(crc, name);
}
