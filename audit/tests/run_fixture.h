#pragma once
// A fresh run-wide state for unit tests: program, start and home folders in
// a temporary directory, HOME pointing at the home folder, and the current
// directory at the start folder; all undone afterwards.

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

class FreshRunTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string program_dir() const { return root_ / "prog"; }
  std::string start_dir() const { return root_ / "start"; }
  std::string home_dir() const { return root_ / "home"; }
  std::string in_program(const std::string& name) const { return join_path(program_dir(), name); }
  std::string in_start(const std::string& name) const { return join_path(start_dir(), name); }
  std::string in_home(const std::string& name) const { return join_path(home_dir(), name); }

 private:
  TempDir root_;
  std::string saved_directory_;
  std::string saved_home_;
  bool had_home_ = false;
};
