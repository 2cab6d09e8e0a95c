#include "app/run_driver.h"

int main(int argc, char** argv) {
  return run_vald(argc, argv);
}
