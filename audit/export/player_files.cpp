#include "export/player_files.h"

#include <cstdio>
#include <map>

#include "catalogue/rom_database.h"
#include "export/gamelist.h"
#include "export/mame_zip.h"
#include "export/playlist.h"
#include "naming/copy_bytes.h"
#include "naming/placer.h"
#include "naming/rename_engine.h"
#include "run/failure_messages.h"
#include "run/run_state.h"
#include "system/file_system.h"

namespace {

// The folder of a2600 software sets, as MAME looks for them in a ROM path.
constexpr char MAME_FOLDER[] = "a2600";

void print_no_software_names() {
  std::printf(
      "to=mame wants the software names of MAME's list, and this run's catalogue gives "
      "none; nothing was copied.\n");
}

void print_set_incomplete(const std::string& software, const std::vector<std::string>& missing) {
  std::string names;
  for (const std::string& name : missing) names += (names.empty() ? "" : ", ") + name;
  std::printf("%s.zip was not written: its set wants %s as well, which this run did not find.\n",
              software.c_str(), names.c_str());
}

void print_zip_unwritten(const std::string& path, const std::string& reason) {
  std::fprintf(stderr, "Cannot write %s: %s\n", path.c_str(), reason.c_str());
}

void print_list_kept(const std::string& path, const std::string& problem) {
  std::printf("%s was left as it is: it cannot be read (%s).\n", path.c_str(), problem.c_str());
}

// The bytes of a staged copy: the file the run wrote, or what a plan held.
bool staged_bytes(const StagedImage& image, std::string& bytes) {
  if (!image.copy.temporary.empty()) {
    CopySource source;
    source.path = in_target(image.copy.temporary);
    if (const FsResult read = read_whole_source(source, bytes); !read.ok()) {
      print_cannot_read(image.shown, read);
      return false;
    }
    return true;
  }
  bytes = image.copy.held;
  return !bytes.empty();
}

// Writes the ZIP of one software set whose ROMs `found` holds by entry.
void write_set(const std::string& software, const std::vector<SoftwareRom>& roms,
               const std::map<int, const StagedImage*>& found) {
  std::vector<std::string> bytes(roms.size());
  std::vector<ZipMemberData> members;
  for (std::size_t at = 0; at < roms.size(); ++at) {
    if (!staged_bytes(*found.at(roms[at].entry), bytes[at])) return;
    members.push_back({roms[at].member, reinterpret_cast<const unsigned char*>(bytes[at].data()),
                       bytes[at].size()});
  }
  const std::string path = join_path(MAME_FOLDER, software + ".zip");
  std::string zip;
  const FileHandle kept = open_collecting(&zip);
  if (const ZipWriteResult written = write_reproducible_zip(*kept, members); !written.ok()) {
    return print_zip_unwritten(path,
                               written.reason.empty() ? written.disk.reason() : written.reason);
  }
  (void)place_bytes_at(join_path(staging_root(), path), zip, path);  // each outcome is said
}

// The full path of `path`, given from the target root.
std::string whole_path(const std::string& path) {
  const ToolDirectories& directories = run_state().directories;
  return join_path(directories.out.empty() ? directories.start : directories.out, path);
}

void write_playlist(const std::vector<const StagedImage*>& images,
                    const std::vector<std::string>& paths) {
  std::vector<PlaylistItem> items;
  for (std::size_t at = 0; at < images.size(); ++at) {
    if (paths[at].empty()) continue;
    items.push_back({whole_path(paths[at]), db_name(images[at]->entry),
                     rom_database().crcs[images[at]->entry]});
  }
  const std::string path = join_path(staging_root(), PLAYLIST_FILE_NAME);
  (void)replace_whole_file(path, retroarch_playlist(items), path);  // each outcome is said
}

// The game list there now, at most its limit and one byte; empty when there is none.
std::string existing_gamelist(const std::string& path, bool& readable) {
  readable = true;
  FileHandle file;
  const FsResult opened = file_system().open(in_target(path), "rb", file, true);
  if (!opened.ok()) {
    readable = opened.missing();
    if (!readable) print_cannot_read(path, opened);
    return std::string();
  }
  std::string text(GAMELIST_FILE_LIMIT + 1, '\0');
  text.resize(file->read(text.data(), text.size()));
  if (!file->failure().ok()) {
    readable = false;
    print_cannot_read(path, file->failure());
  }
  return text;
}

void write_gamelist(const std::vector<const StagedImage*>& images,
                    const std::vector<std::string>& paths) {
  std::vector<GameListItem> items;
  const std::string root = staging_root();
  for (std::size_t at = 0; at < images.size(); ++at) {
    if (paths[at].empty()) continue;
    const CatalogueEntry entry = db_entry_record(images[at]->entry);
    std::string file = root.empty() ? paths[at] : paths[at].substr(root.size() + 1);
    for (char& character : file) {
      if (character == PATH_SEPARATOR) character = '/';
    }
    items.push_back({file, db_name(images[at]->entry), entry.year, entry.publisher});
  }
  const std::string path = join_path(root, GAMELIST_FILE_NAME);
  bool readable = true;
  const std::string existing = existing_gamelist(path, readable);
  if (!readable) return;
  const GameListMerge merged = merged_gamelist(existing, items);
  if (!merged.ok()) return print_list_kept(path, merged.problem);
  (void)replace_whole_file(path, merged.text, path);  // each outcome is said
}

}  // namespace

bool catalogue_has_software_names() {
  for (int index = 0; index < db_count(); ++index) {
    const CatalogueEntry record = db_entry_record(index);
    if (record.softwareList && !record.software.empty()) return true;
  }
  print_no_software_names();
  return false;
}

std::set<const StagedImage*> place_mame_sets(const std::vector<const StagedImage*>& images) {
  std::map<int, const StagedImage*> found;
  for (const StagedImage* image : images) found.emplace(image->entry, image);
  const SoftwareSets sets = software_sets();
  std::set<std::string> written;
  bool folder_made = false;
  for (const StagedImage* image : images) {
    const std::string software = db_entry_record(image->entry).software;
    if (software.empty() || !written.insert(software).second) continue;
    const auto set = sets.find(software);
    if (set == sets.end()) continue;
    const std::vector<std::string> missing =
        missing_roms(set->second, [&](int entry) { return found.count(entry) != 0; });
    if (!missing.empty()) {
      print_set_incomplete(software, missing);
      continue;
    }
    if (!folder_made && !(folder_made = prepare_folder(join_path(staging_root(), MAME_FOLDER))))
      break;
    write_set(software, set->second, found);
  }
  return {};
}

void write_player_file(const ExportTarget& target, const std::vector<const StagedImage*>& images,
                       const std::vector<std::string>& paths) {
  if (target.kind == ExportKind::retroarch) write_playlist(images, paths);
  if (target.kind == ExportKind::esde) write_gamelist(images, paths);
}
