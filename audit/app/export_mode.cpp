#include "app/export_mode.h"

#include <cstdio>
#include <string>
#include <vector>

#include "app/option_words.h"
#include "export/export_run.h"
#include "run/failure_messages.h"
#include "run/run_state.h"
#include "system/file_system.h"

namespace {

void print_out_unusable(const std::string& folder, const FsResult& failure) {
  std::printf("out=%s cannot be used (%s); nothing was copied.\n", folder.c_str(),
              failure.reason().c_str());
}

void print_out_to_make(const std::string& folder) {
  std::printf("out=%s does not exist yet: the run would make it.\n", folder.c_str());
}

void print_tv_unknown(const std::string& word) {
  std::printf("%s names no TV system (tv=ntsc or tv=pal); it was ignored.\n", word.c_str());
}

// `path` with its "." steps left out and each ".." taking back the step
// before it, as the paths the playlist names are read by other programs.
std::string without_dot_steps(const std::string& path) {
  std::vector<std::string> steps;
  std::size_t start = 0;
  const bool rooted = !path.empty() && (path[0] == '/' || path[0] == PATH_SEPARATOR);
  while (start <= path.size()) {
    std::size_t end = path.find_first_of({'/', PATH_SEPARATOR}, start);
    if (end == std::string::npos) end = path.size();
    const std::string step = path.substr(start, end - start);
    if (step == "..") {
      if (!steps.empty()) steps.pop_back();
    } else if (!step.empty() && step != ".") {
      steps.push_back(step);
    }
    start = end + 1;
  }
  std::string normal = rooted ? std::string(1, PATH_SEPARATOR) : std::string();
  for (const std::string& step : steps) normal = join_path(normal, step);
  return normal;
}

// The out folder, whole: a relative one lies in the start folder.
std::string whole_out_folder(const std::string& given) {
  const bool whole = !given.empty() && (given[0] == '/' || given[0] == PATH_SEPARATOR ||
                                        (given.size() >= 2 && given[1] == ':'));
  return without_dot_steps(whole ? given : join_path(run_state().directories.start, given));
}

// Makes the out folder when it is missing; a plan only notes that it would.
bool prepare_out_folder() {
  const std::string& given = run_state().options.outFolder;
  if (given.empty()) return true;
  std::string& out = run_state().directories.out;
  out = whole_out_folder(given);
  std::vector<DirectoryEntry> entries;
  const FsResult listed = file_system().list_directory(out, entries);
  if (listed.ok()) return true;
  if (!listed.missing()) {
    print_out_unusable(given, listed);
    return false;
  }
  if (run_state().options.plan) {
    print_out_to_make(given);
    run_state().outToMake = true;
    return true;
  }
  if (const FsResult made = file_system().make_directory(out); !made.ok()) {
    print_out_unusable(given, made);
    return false;
  }
  return true;
}

}  // namespace

bool stages_copies(const RunOptions& options) {
  return options.copy && (options.oneGame || !options.exportTarget.empty());
}

bool prepare_export() {
  const RunOptions& options = run_state().options;
  for (const std::string& word : options.unknownTargets) print_tv_unknown(word);
  if (!options.copy) return true;
  bool refused = false;
  const ExportTarget* target = run_export_target(refused);
  if (refused || (target != nullptr && !catalogue_serves(*target))) return false;
  return prepare_out_folder();
}

void start_export() {
  if (!run_state().outToMake) return;
  // A plan's view of the disk takes the folder, so that what goes into it
  // is planned as the run would make it.
  if (const FsResult made = file_system().make_directory(run_state().directories.out); !made.ok())
    print_out_unusable(run_state().options.outFolder, made);
}

void finish_export() {
  if (!stages_copies(run_state().options)) return;
  bool refused = false;
  place_staged_images(run_export_target(refused));
}

void print_export_words_ignored(const RunOptions& options) {
  std::FILE* stream = ignored_word_stream(options);
  if (!options.copy && (!options.exportTarget.empty() || !options.outFolder.empty())) {
    std::fprintf(stream, "to= and out= only work with copy; they were ignored.\n");
  }
  if (options.oneGame && !options.copy && !options.list && !options.csv) {
    std::fprintf(stream, "1g1r only works with copy, list and csv; it was ignored.\n");
  }
}
