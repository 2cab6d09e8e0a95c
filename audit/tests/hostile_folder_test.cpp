// Folders built to harm a run, or left so by bad luck: pipes under tool and
// image names, planted links, a doctored or torn journal, a tree deeper than
// any path, a huge have database. Whatever the folder holds, no run waits
// forever, nothing outside the folder changes, every image is there exactly
// once, and undo brings the folder back.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "moving_run_fixture.h"

namespace {

namespace fs = std::filesystem;

#ifndef _WIN32

// Every entry below `folder`: a regular file by its content (and time), a
// link by its target, anything else by its kind; pipes are never opened.
std::map<std::string, std::string> snapshot(const std::string& folder) {
  std::map<std::string, std::string> tree;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const fs::file_status status = entry.symlink_status();
    std::string what = "<other>";
    if (fs::is_symlink(status)) {
      what = "-> " + fs::read_symlink(entry.path()).string();
    } else if (fs::is_directory(status)) {
      what = "<folder>";
    } else if (fs::is_regular_file(status)) {
      what = summary(read_text(entry.path().string())) + " @" +
             std::to_string(fs::last_write_time(entry.path()).time_since_epoch().count());
    }
    tree[fs::relative(entry.path(), folder).string()] = what;
  }
  return tree;
}

// The same without the tool's own files and its time stamps, for the user's view.
std::map<std::string, std::string> user_view(const std::string& folder) {
  auto tree = snapshot(folder);
  for (const char* name :
       {"2600Have.txt", "2600Miss.txt", "2600Dupes.txt", "2600Log.txt", "2600Undo.txt"}) {
    if (tree.count(name) != 0 && tree[name].rfind("-> ", 0) != 0) tree.erase(name);
  }
  for (auto& [path, what] : tree) what = what.substr(0, what.find(" @"));
  return tree;
}

const std::string kRiverRaid = "River Raid (1982) (Activision)";

void fifo(const std::string& path) {
  ASSERT_EQ(mkfifo(path.c_str(), 0644), 0) << path;
}

void journal_of(const ValdSandbox& sandbox, const std::string& lines) {
  write_text(sandbox.work("2600Undo.txt"), std::string("Vald2600 undo journal 1\n") + lines);
}

// A tree of `levels` folders "d" inside each other, made by relative names.
void deep_tree(const std::string& top, int levels, const std::vector<unsigned char>& image) {
  int folder = open(top.c_str(), O_RDONLY | O_DIRECTORY);
  for (int level = 0; level < levels && folder >= 0; ++level) {
    mkdirat(folder, "d", 0755);
    const int inner = openat(folder, "d", O_RDONLY | O_DIRECTORY);
    close(folder);
    folder = inner;
  }
  const int file = openat(folder, "deep.bin", O_WRONLY | O_CREAT, 0644);
  if (file >= 0 && write(file, image.data(), image.size()) < 0) ADD_FAILURE();
  close(file);
  close(folder);
}

// A collection with one image, beside a folder of someone else's that no
// run may touch.
struct HostileFolder {
  ValdSandbox sandbox;
  std::string outside = sandbox.work("../outside");

  HostileFolder() {
    make_dir(outside);
    write_text(outside + "/victim.txt", "not yours\n");
    add_image(sandbox, "pacman.bin", "Pac-Man (1982) (Atari)", 1);
    add_image(sandbox, "../outside/game.bin", kRiverRaid, 2);
  }

  // Runs the program, stopped after 10 s (exit code 124) if it waits.
  ProgramResult run(const std::vector<std::string>& words) const {
    std::vector<std::string> arguments{"10", sandbox.program(program_file_name())};
    arguments.insert(arguments.end(), words.begin(), words.end());
    return run_program("/usr/bin/timeout", arguments, sandbox.work_dir(), sandbox.home_dir());
  }
};

struct HostileRow {
  const char* what;
  std::function<void(const ValdSandbox&, const std::string& outside)> build;
  std::vector<std::vector<std::string>> runs;
  const char* said;                                         // a line the runs say
  std::function<void(const ValdSandbox&)> check = nullptr;  // after the runs, before undo
};

// No two names of a folder differ only in letter case.
void names_differ_beyond_case(const ValdSandbox& sandbox) {
  std::set<std::string> folded;
  for (std::string name : list_names(sandbox.work("2600Dupes"))) {
    for (char& character : name) character = static_cast<char>(std::tolower(character));
    EXPECT_TRUE(folded.insert(name).second) << name;
  }
}

TEST(HostileFolderTest, NoRunHangsOrReachesOutsideAndUndoBringsTheFolderBack) {
  const std::vector<HostileRow> rows = {
      {"pipes under image, archive, tool and DAT names",
       [](const ValdSandbox& s, const std::string&) {
         for (const char* name : {"x.bin", "x.zip", "x.7z", "2600Have.txt", "2600Log.txt", "p.dat"})
           fifo(s.work(name));
         fifo(s.program("ValdInfo.cfg"));
         fifo(s.program("Vald2600.db"));
       },
       {{"rename", "changes", "dirs"}, {"list", "dat=p.dat"}},
       "x.bin is not a regular file; it was left alone"},
      {"a journal that leads outside",
       [](const ValdSandbox& s, const std::string&) {
         journal_of(s, "run T1 move\nfolder ../outside\nmove 10 ../outside/game.bin here.bin\n");
       },
       {{"undo"}},
       "names a place outside this folder"},
      {"2600Ren and a report linked elsewhere",
       [](const ValdSandbox& s, const std::string& out) {
         fs::create_directory_symlink(out, s.work("2600Ren"));
         fs::create_symlink(out + "/victim.txt", s.work("2600Miss.txt"));
       },
       {{"rename"}},
       "2600Ren is not a folder of its own"},
      {"an image that is a link to outside",
       [](const ValdSandbox& s, const std::string&) {
         fs::create_symlink("../outside/game.bin", s.work("rel.bin"));
       },
       {{"rename"}},
       "rel.bin is a symbolic link; it was left alone"},
      {"a journal torn by a full disk",
       [](const ValdSandbox& s, const std::string&) { add_image(s, "river.bin", kRiverRaid, 3); },
       {{"rename"}},
       "its last line was cut short",
       [](const ValdSandbox& s) {
         write_text(s.work("2600Undo.txt"), read_text(s.work("2600Undo.txt")) + "move 2048 img");
       }},
      {"a dangling link in the journal's place",
       [](const ValdSandbox& s, const std::string&) {
         fs::create_symlink("../outside/new.txt", s.work("2600Undo.txt"));
       },
       {{"rename"}},
       "Cannot lock"},
      {"control bytes and a separator in a DAT's year",
       [](const ValdSandbox& s, const std::string&) {
         const int index = catalogue_index_of("Pac-Man (1982) (Atari)");
         char crc[9];
         std::snprintf(crc, sizeof crc, "%08x", catalogue_crc(index));
         write_text(s.work("y.xml"),
                    std::string("<softwarelist name=\"a2600\"><software name=\"p\">"
                                "<description>Pac</description><year>1\n\x1b/2</year><part>"
                                "<dataarea><rom name=\"p\" size=\"0x1000\" crc=\"") +
                        crc + "\"/></dataarea></part></software></softwarelist>");
       },
       {{"rename", "changes", "dat=y.xml"}},
       "N: \"Pac (1 -2)\""},
      {"four copies whose names differ in case",
       [](const ValdSandbox& s, const std::string&) {
         const char* names[] = {"a.bin", "b.BIN", "c.bin", "d.Bin"};
         for (int copy = 0; copy < 4; ++copy) add_image(s, names[copy], kRiverRaid, 10 + copy);
       },
       {{"rename"}},
       "already exists",
       names_differ_beyond_case},
      {"a link to an image the walk finds, and a journal that is none",
       [](const ValdSandbox& s, const std::string&) {
         fs::create_symlink("pacman.bin", s.work("pacman-link.bin"));
         write_text(s.work("2600Undo.txt"), "my notes\n");
       },
       {{"list"}, {"rename"}},
       "pacman-link.bin is a symbolic link; it was left alone"},
      {"a have database of 64 MB",
       [](const ValdSandbox& s, const std::string&) {
         write_text(s.program("Vald2600.db"), std::string("VALD\0\0\0\1", 8));
         fs::resize_file(s.program("Vald2600.db"), 64u << 20);
       },
       {{"list"}},
       "Vald2600.db is larger than it can be for any catalogue"},
  };
  for (const HostileRow& row : rows) {
    HostileFolder folder;
    row.build(folder.sandbox, folder.outside);
    const auto outside_before = snapshot(folder.outside);
    const auto user_before = user_view(folder.sandbox.work_dir());
    std::string said;
    for (std::vector<std::string> words : row.runs) {
      const ProgramResult result = folder.run(words);
      EXPECT_NE(result.exitCode, 124) << row.what << ": " << words[0] << " did not end";
      said += result.out + result.err;
    }
    if (row.check) row.check(folder.sandbox);
    said += folder.run({"undo"}).out;
    EXPECT_NE(said.find(row.said), std::string::npos) << row.what << "\n" << said;
    EXPECT_EQ(snapshot(folder.outside), outside_before) << row.what;
    EXPECT_EQ(user_view(folder.sandbox.work_dir()), user_before) << row.what << "\n" << said;
  }
}

// Whole-tree rows that a snapshot cannot take: a subfolder the run may not
// enter, and a tree deeper than any path.
TEST(HostileFolderTest, FoldersTheWalkCannotEnterOrPathsCannotName) {
  const HostileFolder folder;
  const ValdSandbox& sandbox = folder.sandbox;
  make_dir(sandbox.work("closed"));
  add_image(sandbox, "closed/in.bin", kRiverRaid, 5);
  chmod(sandbox.work("closed").c_str(), 0);
  const bool root = geteuid() == 0;  // root enters any folder
  const ProgramResult closed = folder.run({"listd"});
  chmod(sandbox.work("closed").c_str(), 0700);
  EXPECT_TRUE(root || closed.err.find("Cannot read the folder ./closed: ") != std::string::npos)
      << closed.err;

  const int index = catalogue_index_of(kAdventure);
  deep_tree(sandbox.work_dir(), 5000, make_sample_image(catalogue_crc(index), 4096, 6));
  const ProgramResult deep = folder.run({"listd"});
  EXPECT_NE(deep.exitCode, 124) << "a deep tree did not end";
  EXPECT_EQ(count_of(deep.out, "Scanning ./d/*.bin.a26"), 5000);
  EXPECT_NE(read_text(sandbox.work("2600Have.txt")).find(kAdventure), std::string::npos);
}

#endif

}  // namespace
