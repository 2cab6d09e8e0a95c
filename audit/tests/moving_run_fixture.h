#pragma once
// Rename and move runs of the built program over a small collection, with
// what a test needs to tell whether a run (or a plan, or an undo) changed
// anything: the folder's whole tree, bytes and timestamps.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "sample_images.h"
#include "test_support.h"

inline const char kTicTacToe[] = "3-D Tic-Tac-Toe (1978) (Atari) (PAL)";
inline const char kAdventure[] = "Adventure + (2003) (Homebrew)";

// Every path below `folder` with its content's size and hash ("<folder>"
// for a folder), and, with `times`, its modification time as well.
inline std::string summary(const std::string& content) {
  return std::to_string(content.size()) + " bytes #" +
         std::to_string(std::hash<std::string>{}(content));
}

inline std::map<std::string, std::string> tree_of(const std::string& folder, bool times = false) {
  namespace fs = std::filesystem;
  std::map<std::string, std::string> tree;
  const auto stamp = [&](const fs::path& path) {
    return times ? " @" + std::to_string(fs::last_write_time(path).time_since_epoch().count())
                 : std::string();
  };
  tree["."] = stamp(folder);
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string relative = fs::relative(entry.path(), folder).string();
    tree[relative] = (entry.is_directory() ? std::string("<folder>")
                                           : summary(read_text(entry.path().string()))) +
                     stamp(entry.path());
  }
  return tree;
}

// The tree without the files the tool writes for itself.
inline std::map<std::string, std::string> user_tree_of(const std::string& folder) {
  auto tree = tree_of(folder);
  for (const char* name :
       {"2600Have.txt", "2600Miss.txt", "2600Dupes.txt", "2600Log.txt", "2600Undo.txt"}) {
    tree.erase(name);
  }
  return tree;
}

// Writes a copy of the catalogued `title` (its bytes chosen by `seed`).
inline void add_image(const ValdSandbox& sandbox, const std::string& relative,
                      const std::string& title, std::uint32_t seed) {
  const int index = catalogue_index_of(title);
  ASSERT_GE(index, 0) << title;
  write_bytes(sandbox.work(relative), make_sample_image(catalogue_crc(index), 4096, seed));
}

class MovingRunTest : public ::testing::Test {
 protected:
  ValdSandbox sandbox;

  void add(const std::string& relative, const std::string& title, std::uint32_t seed) {
    add_image(sandbox, relative, title, seed);
  }

  std::string ren(const std::string& name) const { return sandbox.work("2600Ren/" + name); }
  std::string journal() const { return read_text(sandbox.work("2600Undo.txt")); }
};
