#include "app/run_driver.h"

#include <cstdio>

#include "app/moving_run.h"
#include "app/option_words.h"
#include "app/usage.h"
#include "catalogue/rom_database.h"
#include "collection/audit_mode.h"
#include "collection/info_config.h"
#include "collection/mess_export.h"
#include "collection/reports.h"
#include "collection/run_state.h"
#include "collection/undo_mode.h"
#include "collection/walk.h"
#include "system/file_system.h"

namespace {

constexpr std::size_t IMAGE_BUFFER_SIZE = 5 * 1024 * 1024;

void print_convert_refusal() {
  std::printf("Cannot convert this system to other formats\n");
}

void print_mode_refusal() {
  std::fprintf(stderr, "Cannot use more than one of scan,list,rename\n");
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
  if (have_buffer) {
    std::printf("Scanning .%c*%s\n", PATH_SEPARATOR, EXTENSIONS_2600);
    load_info_config();
    walk_directory(".");
    close_tool_logs();
  }
  free_image_buffer();
  if (options.rename) {
    write_miss_report();
    write_have_report();
  }
}

void run_one_mode() {
  print_banner();
  save_directories();
  db_prepare();
  db_print_stats();
  const RunOptions& options = run_state().options;
  if (options.messExport) {
    export_mess_crc();
  } else if (options.audit) {
    run_audit();
  } else if (options.undo) {
    run_undo();
  } else if (moves_files(options)) {
    run_moving_walk(run_walk_modes);
  } else {
    run_walk_modes();
  }
  change_directory(run_state().directories.start);
}

}  // namespace

int run_vald(int argc, const char* const* argv) {
  RunOptions& options = run_state().options;
  for (int index = 1; index < argc; ++index) {
    if (apply_option_word(options, argv[index])) print_convert_refusal();
  }
  const int modes = count_modes(options);
  if (modes == 0) {
    print_usage();
    db_print_stats();
  } else if (modes > 1) {
    print_usage();
    print_mode_refusal();
  } else {
    if (options.plan && !moves_files(options)) print_plan_ignored();
    run_one_mode();
  }
  std::fflush(stdout);
  return 0;
}
