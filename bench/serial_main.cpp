// Vald2600 without its read-ahead: each file is fetched only when the walk
// reads it, one after another. Built for bench/run-read-ahead.sh only, to
// measure what the read-ahead gains.

#include "app/run_driver.h"
#include "system/file_system.h"

int main(int argc, char** argv) {
  prepare_console();
  enable_read_ahead(false);
  return run_vald(argc, argv);
}
