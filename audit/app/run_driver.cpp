#include "app/run_driver.h"

#include <cstdio>

#include "app/audit_mode.h"
#include "app/csv_run.h"
#include "app/export_mode.h"
#include "app/mess_export.h"
#include "app/moving_run.h"
#include "app/option_words.h"
#include "app/undo_mode.h"
#include "app/usage.h"
#include "app/zipped_dat.h"
#include "catalogue/entry_verification.h"
#include "catalogue/rom_database.h"
#include "dat/dat_loader.h"
#include "naming/info_config.h"
#include "naming/placer.h"
#include "reports/miss_dat.h"
#include "reports/reports.h"
#include "run/failure_messages.h"
#include "run/run_state.h"
#include "scan/walk.h"
#include "system/file_system.h"
#include "system/tool_file_names.h"

namespace {

constexpr std::size_t IMAGE_BUFFER_SIZE = 5 * 1024 * 1024;
// The exit status of a run that could not use a DAT it was given.
constexpr int DAT_REFUSED_STATUS = 2;

void print_convert_refusal() {
  std::printf("Cannot convert this system to other formats\n");
}

// "Verified: 3 by SHA-1, 1 by MD5, 2 by CRC-32 only (1 refused)", the end
// of a verify run.
void print_verify_counts() {
  const VerifyCounts& counts = run_state().verify.counts;
  std::printf("Verified: %d by SHA-1, %d by MD5, %d by CRC-32 only", counts.bySha1, counts.byMd5,
              counts.byCrcOnly);
  if (counts.refused > 0) std::printf(" (%d refused)", counts.refused);
  std::printf("\n");
}

void print_busy() {
  std::printf("Another Vald2600 run is busy in this folder (it holds %s); nothing was done.\n",
              UNDO_JOURNAL_NAME);
}

// Takes the journal of `folder` for the run, so that no second run changes
// files there meanwhile. False, after saying why, when another run holds it
// or the lock cannot be taken for any other reason: a run without the lock
// could move files beside another.
bool hold_folder(const std::string& folder, LockHandle& lock) {
  const std::string path = join_path(folder, UNDO_JOURNAL_NAME);
  const FsResult locked = file_system().lock(path, lock);
  if (locked.status == FsStatus::busy) {
    print_busy();
    return false;
  }
  if (!locked.ok()) print_cannot_lock(path, locked);
  return locked.ok();
}

void print_mode_refusal() {
  std::fprintf(stderr, "Cannot use more than one of scan,list,rename\n");
}

// With dat= words, makes the union of those DATs the run's catalogue and
// reports on standard error what each gave (with verify, also the entries
// a malformed hash leaves to a weaker check). A DAT that cannot be used, or
// DATs that give no entry at all, stop the run before anything else
// happens: false, after one line naming them.
bool load_run_catalogue() {
  const RunOptions& options = run_state().options;
  if (options.datFiles.empty()) return true;
  // Under verify, entries of one CRC-32 that a hash tells apart are all kept.
  CatalogueBuilder builder(options.verify);
  DatError error;
  bool loaded = true;
  for (const std::string& path : options.datFiles) {
    if (!(loaded = builder.load_file(path, error, unpack_zipped_dat))) break;
  }
  if (!loaded || !builder.has_entries(error)) {
    std::fprintf(stderr, "%s\n", dat_refusal_line(error).c_str());
    return false;
  }
  for (const DatLoadSummary& summary : builder.summaries()) {
    std::fprintf(stderr, "%s\n", dat_summary_line(summary).c_str());
    // Only verify checks hashes, so only there does a malformed one matter.
    const std::string weaker = dat_weaker_check_line(summary);
    if (options.verify && !weaker.empty()) std::fprintf(stderr, "%s\n", weaker.c_str());
  }
  std::vector<UnheldRom> unheld = builder.unheld();
  db_use_loaded_catalogue(builder.finish(), std::move(unheld));
  return true;
}

void save_directories() {
  ToolDirectories& directories = run_state().directories;
  directories.start = current_directory();
  directories.program = executable_directory();
}

void free_image_buffer() {
  run_state().image.data.reset();
  run_state().image.capacity = 0;
}

void run_walk_modes() {
  RunOptions& options = run_state().options;
  const bool have_buffer = grow_image_buffer(IMAGE_BUFFER_SIZE);
  if (options.list) options.rename = 1;
  const EarlierReport earlier = start_csv_report();
  if (have_buffer) {
    std::printf("Scanning .%c*%s\n", PATH_SEPARATOR, EXTENSIONS_2600);
    load_info_config();
    start_export();
    walk_tree(walk_plan_of_run());
    finish_export();
    finish_placing();
    close_tool_logs();
  }
  free_image_buffer();
  if (options.rename || options.copy) {
    write_miss_report();
    write_have_report();
    if (options.fixDat) write_miss_dat();
  }
  if (options.verify && !options.quiet) print_verify_counts();
  finish_csv_report(earlier);
}

// Whether the run may change files, and so must have the folder to itself.
bool holds_the_folder(const RunOptions& options) {
  return (options.undo || journals_changes(options)) && !options.plan;
}

void run_one_mode() {
  print_banner();
  save_directories();
  if (!prepare_export()) return;
  // An export's out folder is held as well as the start folder.
  LockHandle lock;
  LockHandle out_lock;
  if (holds_the_folder(run_state().options)) {
    if (!hold_folder(run_state().directories.start, lock)) return;
    if (!run_state().directories.out.empty() && !hold_folder(run_state().directories.out, out_lock))
      return;
  }
  db_prepare();
  db_print_stats();
  const RunOptions& options = run_state().options;
  if (options.messExport) {
    export_mess_crc();
  } else if (options.audit) {
    run_audit();
  } else if (options.undo) {
    run_undo();
  } else if (journals_changes(options)) {
    run_moving_walk(run_walk_modes);
  } else {
    run_walk_modes();
  }
  // Every file of the run was written by its full path: a start folder that
  // cannot be entered again changes nothing the run still does, but is said.
  const std::string& start = run_state().directories.start;
  if (const FsResult back = file_system().change_directory(start); !back.ok())
    print_cannot_enter(start, back);
}

}  // namespace

int run_vald(int argc, const char* const* argv) {
  RunOptions& options = run_state().options;
  int converts = 0;
  for (int index = 1; index < argc; ++index) {
    if (apply_option_word(options, argv[index])) ++converts;
  }
  const int modes = count_modes(options);
  if (modes <= 1 && !load_run_catalogue()) return DAT_REFUSED_STATUS;
  for (; converts > 0; --converts) print_convert_refusal();
  if (modes == 0) {
    print_usage();
    db_print_stats();
  } else if (modes > 1) {
    print_usage();
    print_mode_refusal();
  } else {
    if (options.plan && !journals_changes(options) && !options.undo) print_plan_ignored(options);
    if (options.csv && !mode_takes_csv(options)) print_csv_ignored(options);
    print_export_words_ignored(options);
    run_one_mode();
  }
  std::fflush(stdout);
  return 0;
}
