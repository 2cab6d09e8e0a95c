#include "app/run_driver.h"
#include "system/file_system.h"

int main(int argc, char** argv) {
  prepare_console();
  return run_vald(argc, argv);
}
