#include "run_fixture.h"

#include <cstdlib>

#include "run/run_state.h"
#include "system/file_system.h"

void FreshRunTest::SetUp() {
  make_dir(program_dir());
  make_dir(start_dir());
  make_dir(home_dir());
  reset_run_state();
  use_file_system(nullptr);
  run_state().directories.program = program_dir() + PATH_SEPARATOR;
  run_state().directories.start = start_dir();
  if (const char* home = std::getenv("HOME")) {
    had_home_ = true;
    saved_home_ = home;
  }
  set_environment("HOME", home_dir());
  saved_directory_ = current_directory();
  ASSERT_TRUE(file_system().change_directory(start_dir()).ok());
}

void FreshRunTest::TearDown() {
  reset_run_state();
  use_file_system(nullptr);
  EXPECT_TRUE(file_system().change_directory(saved_directory_).ok());
  if (had_home_) {
    set_environment("HOME", saved_home_);
  } else {
    unset_environment("HOME");
  }
}
