#include "scan/walk.h"

#include <deque>
#include <vector>

#include "naming/rename_engine.h"
#include "run/failure_messages.h"
#include "run/run_state.h"
#include "scan/archive_dispatch.h"
#include "scan/identify.h"
#include "scan/scan_messages.h"
#include "scan/walk_read_ahead.h"
#include "system/file_system.h"

namespace {

// One folder on the way down: its listing, taken whole before any file of
// it is handled (renaming moves files while the walk goes on, and a listing
// in progress would see the folder change), and how far the walk is in it.
struct Level {
  explicit Level(std::vector<DirectoryEntry> listed) : entries(std::move(listed)), ahead(entries) {}

  std::vector<DirectoryEntry> entries;
  ReadAheadWindow ahead;  // reads entries, which must not move
  std::size_t next = 0;
  DirectoryMark left;          // the folder above, to come back to
  std::size_t wholeAbove = 0;  // length of the path of the folder above
  std::size_t foundAbove = 0;  // length of its path in found.folder
};

bool is_target_folder(const std::string& name) {
  return name == RENAME_TARGET_DIR || name == DUPES_TARGET_DIR;
}

bool enters(const WalkPlan& plan, const DirectoryEntry& entry) {
  return plan.descends && !entry.isHidden && !(plan.passesTargets && is_target_folder(entry.name));
}

// The walk keeps one path, the current folder's, whole from the start
// folder: each level adds its name and takes it off again, so that no level
// holds a copy that grows with the depth.
class Walk {
 public:
  explicit Walk(const WalkPlan& plan) : plan_(plan), whole_(run_state().directories.start) {}

  void run() {
    if (!list_level()) return;
    while (!levels_.empty()) {
      Level& level = levels_.back();
      if (level.next == level.entries.size()) {
        if (!leave_level()) return;
        continue;
      }
      const std::size_t index = level.next++;
      level.ahead.reach(index);
      const DirectoryEntry& entry = level.entries[index];
      if (entry.isDirectory) {
        if (enters(plan_, entry)) enter(entry.name);
      } else if (!leaves_alone(entry)) {
        plan_.onFile(entry.name.c_str(), entry.size);
      }
    }
  }

 private:
  // The current folder as the user knows it: "." and its path below the start folder.
  std::string shown() const { return "." + whole_.substr(run_state().directories.start.size()); }

  // Lists the current folder as a new level; false, after saying why, when
  // it cannot be listed.
  bool list_level() {
    std::vector<DirectoryEntry> entries;
    if (const FsResult listed = file_system().list_directory(".", entries); !listed.ok()) {
      print_cannot_list(shown(), listed);
      return false;
    }
    levels_.emplace_back(std::move(entries));
    return true;
  }

  void enter(const std::string& name) {
    const std::string entered = std::string(".") + PATH_SEPARATOR + name;
    if (levels_.size() > WALK_DEPTH_LIMIT) return print_too_deep(entered, WALK_DEPTH_LIMIT);
    print_scanning(entered);
    const std::size_t whole_above = whole_.size();
    whole_ += PATH_SEPARATOR + name;
    DirectoryMark left;
    if (const FsResult changed = file_system().enter_directory(name, left); !changed.ok()) {
      print_cannot_list(shown(), changed);
      whole_.resize(whole_above);
      return;
    }
    std::string& found = run_state().found.folder;
    const std::size_t found_above = found.size();
    found += found.empty() ? name : PATH_SEPARATOR + name;
    ++run_state().walk.depth;
    // A folder entered but not read is left again at once.
    if (!list_level()) levels_.emplace_back(std::vector<DirectoryEntry>());
    Level& level = levels_.back();
    level.left = left;
    level.wholeAbove = whole_above;
    level.foundAbove = found_above;
  }

  // Back to the folder above; false when the walk cannot get there, and so
  // must stop.
  bool leave_level() {
    const Level& level = levels_.back();
    const DirectoryMark left = level.left;
    whole_.resize(level.wholeAbove);
    run_state().found.folder.resize(level.foundAbove);
    const bool top = levels_.size() == 1;
    levels_.pop_back();
    if (top) return true;
    --run_state().walk.depth;
    if (const FsResult back = file_system().leave_directory(left, whole_); !back.ok()) {
      print_walk_stopped(whole_, back);
      return false;
    }
    return true;
  }

  const WalkPlan& plan_;
  std::deque<Level> levels_;  // a deque keeps each level in place as others come and go
  std::string whole_;         // the current folder's path
};

}  // namespace

WalkPlan walk_plan_of_run() {
  const RunOptions& options = run_state().options;
  WalkPlan plan;
  plan.descends = options.listDirs || options.scanDirs || options.copy;
  plan.passesTargets = options.copy;
  plan.onFile = dispatch_file;
  return plan;
}

// Links and pipes are not ours to open, read or move, even when their names
// are an image's.
bool leaves_alone(const DirectoryEntry& entry) {
  if (!entry.isLink && !entry.isSpecial) return false;
  const char* name = entry.name.c_str();
  if (name_has_extension(EXTENSIONS_2600, name) || is_archive_name(name)) {
    print_left_alone(name, entry.isLink);
  }
  return true;
}

void walk_tree(const WalkPlan& plan) {
  Walk(plan).run();
}

void dispatch_file(const char* name, std::uint64_t size) {
  DispatchState& dispatch = run_state().dispatch;
  dispatch = DispatchState{};
  if (name_has_extension(EXTENSIONS_ARCHIVE, name)) {
    size = dispatch_archive(name, ArchiveFormat::zip);
  } else if (name_has_extension(EXTENSIONS_SEVEN_ZIP, name)) {
    size = dispatch_archive(name, ArchiveFormat::sevenZip);
  }
  if (dispatch.inMemory || name_has_extension(EXTENSIONS_2600, name)) identify_image(name, size);
}
