// What a ZIP of MAME's may hold: the ROMs of each software entry, and the
// member names a ZIP can take.

#include <algorithm>
#include <set>
#include <string>
#include <string_view>

#include "catalogue/rom_database.h"
#include "export/mame_zip.h"

namespace {

constexpr char NAME_EMPTY[] = "a member without a name";
constexpr char NAME_ABSOLUTE[] = "a member name that is absolute: ";
constexpr char NAME_CLIMBS[] = "a member name with a \"..\" part: ";
constexpr char NAME_REPEATED[] = "a member name given twice: ";

bool is_absolute(std::string_view name) {
  return name.front() == '/' || name.front() == '\\' || (name.size() > 1 && name[1] == ':');
}

bool climbs(std::string_view name) {
  std::size_t start = 0;
  while (start <= name.size()) {
    const std::size_t end = std::min(name.find_first_of("/\\", start), name.size());
    if (name.substr(start, end - start) == "..") return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

std::string refused_member_names(const std::vector<ZipMemberData>& members) {
  std::set<std::string_view> seen;
  for (const ZipMemberData& member : members) {
    if (member.name.empty()) return NAME_EMPTY;
    if (is_absolute(member.name)) return NAME_ABSOLUTE + member.name;
    if (climbs(member.name)) return NAME_CLIMBS + member.name;
    if (!seen.insert(member.name).second) return NAME_REPEATED + member.name;
  }
  return {};
}

SoftwareSets software_sets() {
  SoftwareSets sets;
  for (int entry = 0; entry < db_count(); ++entry) {
    CatalogueEntry record = db_entry_record(entry);
    if (!record.softwareList || record.software.empty()) continue;
    sets[record.software].push_back({entry, std::move(record.image)});
  }
  // An image the catalogue could not hold is never present: its set is never whole.
  for (UnheldRom& rom : db_unheld_roms()) {
    const auto set = sets.find(rom.game);
    if (set != sets.end()) set->second.push_back({-1, std::move(rom.rom)});
  }
  for (auto& [software, roms] : sets) {
    std::sort(roms.begin(), roms.end(), [](const SoftwareRom& left, const SoftwareRom& right) {
      return left.member != right.member ? left.member < right.member : left.entry < right.entry;
    });
  }
  return sets;
}
