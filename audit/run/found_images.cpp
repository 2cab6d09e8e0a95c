#include "run/found_images.h"

#include "catalogue/rom_database.h"
#include "run/run_state.h"
#include "system/file_system.h"

namespace {

// The TV system of an image found as entry `entry` (-1: none): the entry's,
// else the one the name it goes by (its archive member's, else its file's)
// gives.
TvSystem found_tv(int entry, const std::string& name, const std::string& member) {
  if (entry >= 0) return db_entry_tv(entry);
  return tv_system_of_name(member.empty() ? name : member);
}

}  // namespace

std::string found_file_path(const std::string& folder, const std::string& name,
                            const std::string& member) {
  std::string path = folder.empty() ? name : join_path(folder, name);
  if (!member.empty()) path = join_path(path, member);
  return path;
}

int identified_entry(int first) {
  const VerifyState& verify = run_state().verify;
  if (first < 0 || !verify.lastChecked || !verify.last.passed()) return first;
  const int chosen = verify.last.entry;
  const auto& crcs = rom_database().crcs;
  return chosen >= 0 && crcs[chosen] == crcs[first] ? chosen : first;
}

FoundImage* record_found_image(std::uint32_t crc, std::uint64_t size, const std::string& name,
                               const std::string& member) {
  FoundImages& found = run_state().found;
  if (!found.recording) return nullptr;
  const int entry = identified_entry(db_find_crc(crc));
  const FoundKind kind = entry >= 0 ? FoundKind::catalogued : FoundKind::unknown;
  const std::string file = found_file_path(found.folder, name, member);
  found.images.push_back({kind, entry, crc, size, file, "", "", found_tv(entry, name, member)});
  return &found.images.back();
}

void note_found_image_moved(const std::string& to) {
  FoundImages& found = run_state().found;
  if (!found.recording || found.images.empty()) return;
  found.images.back().note = "moved to " + found_file_path(found.folder, to, "");
}

FoundImage* record_refused_image(int entry, std::uint32_t crc, std::uint64_t size,
                                 const std::string& name, const std::string& member,
                                 const std::string& note) {
  FoundImages& found = run_state().found;
  if (!found.recording) return nullptr;
  const std::string file = found_file_path(found.folder, name, member);
  const TvSystem tv = found_tv(entry, name, member);
  found.images.push_back({FoundKind::mismatch, entry, crc, size, file, note, "", tv});
  return &found.images.back();
}
