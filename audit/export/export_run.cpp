#include "export/export_run.h"

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "catalogue/rom_database.h"
#include "export/layout.h"
#include "export/one_game.h"
#include "export/player_files.h"
#include "naming/copy_files.h"
#include "naming/placer.h"
#include "naming/rename_engine.h"
#include "run/run_state.h"

namespace {

const RunOptions& options() {
  return run_state().options;
}

void print_unknown_target(const std::string& word) {
  std::printf("to=%s names no target; the targets are %s. Nothing was copied.\n", word.c_str(),
              export_target_words().c_str());
}

void print_one_per_game(std::size_t games, std::size_t images) {
  std::printf("One image per game: %zu games of %zu images.\n", games, images);
}

void print_left_to_detection(const std::string& target, const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
  std::printf("%zu images keep .bin, for the %s to detect their scheme: %s\n", names.size(),
              target.c_str(), list.c_str());
}

// The staged images to place: one per game when 1g1r asks, else all.
std::vector<const StagedImage*> chosen_images() {
  const std::vector<StagedImage>& staged = run_state().copy.staged;
  std::vector<const StagedImage*> chosen;
  if (!options().oneGame) {
    for (const StagedImage& image : staged) chosen.push_back(&image);
    return chosen;
  }
  std::vector<GameCandidate> candidates;
  for (const StagedImage& image : staged) {
    candidates.push_back(game_candidate(image.entry, leaf_of(image.shown)));
  }
  const TvSystem wanted = options().palWanted ? TvSystem::pal : TvSystem::ntsc;
  for (const std::size_t index : choose_one_per_game(candidates, wanted)) {
    chosen.push_back(&staged[index]);
  }
  print_one_per_game(chosen.size(), staged.size());
  return chosen;
}

// The staged copies no place took go.
void drop_unplaced(const std::set<const StagedImage*>& placed) {
  for (const StagedImage& image : run_state().copy.staged) {
    if (placed.count(&image) == 0) drop_staged(image.copy);
  }
}

// Lays the images out for the target's menu and puts each in place, the
// folders first and then the files, in the order the menu shows them.
std::set<const StagedImage*> place_laid_out(const ExportTarget& target,
                                            const std::vector<const StagedImage*>& images,
                                            std::vector<std::string>& placedPaths) {
  std::vector<LayoutItem> items;
  std::vector<std::string> left_to_detection;
  for (const StagedImage* image : images) {
    const Scheme scheme = scheme_named(image->scheme);
    const std::string extension = export_extension(target, scheme);
    if (target.schemeExtensions && extension == "bin") left_to_detection.push_back(image->shown);
    items.push_back({db_name(image->entry), extension});
  }
  const std::vector<LaidOutFile> files = lay_out(items, {target.nameLimit, target.folderCap});
  const std::string root = staging_root();
  std::set<std::string> folders;
  std::set<const StagedImage*> placed;
  placedPaths.assign(images.size(), std::string());
  for (const std::size_t index : creation_order(files)) {
    const LaidOutFile& file = files[index];
    const std::string folder = file.folder.empty() ? root : join_path(root, file.folder);
    if (!file.folder.empty() && folders.insert(folder).second && !prepare_folder(folder)) continue;
    const std::string path = folder.empty() ? file.name : join_path(folder, file.name);
    const Placement placement = place_staged_at(*images[index], path);
    if (placement == Placement::placed) placed.insert(images[index]);
    if (placement != Placement::taken) placedPaths[index] = path;
  }
  if (!left_to_detection.empty()) print_left_to_detection(target.word, left_to_detection);
  return placed;
}

}  // namespace

const ExportTarget* run_export_target(bool& refused) {
  refused = false;
  const std::string& word = options().exportTarget;
  if (word.empty()) return nullptr;
  const ExportTarget* target = export_target_named(word);
  if (target == nullptr) {
    print_unknown_target(word);
    refused = true;
  }
  return target;
}

bool catalogue_serves(const ExportTarget& target) {
  if (target.kind != ExportKind::mame) return true;
  return catalogue_has_software_names();
}

void place_staged_images(const ExportTarget* target) {
  const std::vector<const StagedImage*> images = chosen_images();
  std::set<const StagedImage*> placed;
  if (target == nullptr) {
    for (const StagedImage* image : images) place_staged_image(*image);
    placed.insert(images.begin(), images.end());  // a copy that went nowhere was dropped
  } else if (target->kind == ExportKind::mame) {
    placed = place_mame_sets(images);
  } else {
    std::vector<std::string> paths;
    placed = place_laid_out(*target, images, paths);
    finish_placing();
    write_player_file(*target, images, paths);
  }
  drop_unplaced(placed);
  finish_placing();
  remove_staging_folder(staging_root());
}
