// Folders built to harm a run, or left so by bad luck. Whatever the folder
// holds, no run waits forever, nothing outside it changes, and undo brings
// it back.

#include <sys/stat.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <set>

#include "moving_run_fixture.h"

namespace {

namespace fs = std::filesystem;

#ifndef _WIN32

// Entries below `folder` (not deeper than 8): regular files by content, links
// by target, the rest by kind; pipes are never opened. `times` adds mtimes.
std::map<std::string, std::string> snapshot(const std::string& folder, bool times) {
  std::map<std::string, std::string> tree;
  for (auto at =
           fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied);
       at != fs::end(at); ++at) {
    if (at.depth() >= 8) at.disable_recursion_pending();
    const fs::file_status status = at->symlink_status();
    std::string what = fs::is_directory(status) ? "<folder>" : "<other>";
    if (fs::is_symlink(status)) what = "-> " + fs::read_symlink(at->path()).string();
    if (fs::is_regular_file(status)) what = summary(read_text(at->path().string()));
    if (times && fs::is_regular_file(status))
      what += std::to_string(fs::last_write_time(at->path()).time_since_epoch().count());
    tree[fs::relative(at->path(), folder).string()] = what;
  }
  for (const char* tool : {"2600Have.txt", "2600Miss.txt", "2600Dupes.txt", "2600Undo.txt",
                           "2600Log.txt", "2600Report.csv"})
    if (!times && tree[tool].rfind("-> ", 0) != 0) tree.erase(tool);
  return tree;
}

struct HostileRow {
  const char* what;
  const char* shell;  // builds the folder in work/, beside ../outside
  std::vector<std::vector<std::string>> runs;
  const char* said;
  std::function<void(const ValdSandbox&)> check = nullptr;  // after the runs, before undo
};

void names_differ_beyond_case(const ValdSandbox& sandbox) {
  std::set<std::string> folded;
  for (std::string name : list_names(sandbox.work("2600Dupes"))) {
    for (char& character : name) character = static_cast<char>(std::tolower(character));
    EXPECT_TRUE(folded.insert(name).second) << name;
  }
}

TEST(HostileFolderTest, NoRunHangsOrReachesOutsideAndUndoBringsTheFolderBack) {
  const int pacman = catalogue_index_of("Pac-Man (1982) (Atari)");
  const std::string crc = std::to_string(catalogue_crc(pacman));
  const std::vector<HostileRow> rows = {
      {"pipes",
       "for f in x.bin x.zip x.7z 2600Have.txt p.dat ../prog/ValdInfo.cfg; do mkfifo $f; done",
       {{"rename", "changes", "dirs"}, {"list", "dat=p.dat"}},
       "x.bin is not a regular file"},
      {"journal leading out",
       "printf 'Vald2600 undo journal 1\\nrun T move\\nmove 4096 ../outside/"
       "game.bin g.bin\\n' > 2600Undo.txt",
       {},
       "names a place outside this folder"},
      {"linked 2600Ren", "ln -s ../outside 2600Ren", {{"rename"}}, "2600Ren is not a folder"},
      {"linked report",
       "ln -s ../outside/victim.txt 2600Miss.txt",
       {{"list"}},
       "Cannot write 2600Miss.txt: it is a symbolic link"},
      {"linked image", "ln -s ../outside/game.bin rel.bin", {{"rename"}}, "rel.bin is a symbolic"},
      {"torn journal",
       "cp pacman.bin river.bin",
       {{"rename"}},
       "last line was cut short",
       [](const ValdSandbox& s) {
         write_text(s.work("2600Undo.txt"), read_text(s.work("2600Undo.txt")) + "move 2048 x");
       }},
      {"dangling journal", "ln -s ../outside/new 2600Undo.txt", {{"rename"}}, "Cannot lock"},
      {"DAT year",
       "printf '<softwarelist><software name=\"p\"><description>Pac</description>"
       "<year>1\\n\\033/2</year><part><dataarea><rom name=\"p\" size=\"0x1000\" crc=\"%08x\"/>"
       "</dataarea></part></software></softwarelist>' $CRC > y.xml",
       {{"rename", "changes", "dat=y.xml"}},
       "N: \"Pac (1 -2)\""},
      {"closed folder",
       "mkdir c && cp pacman.bin c/ && chmod 0 c",
       {{"listd"}},
       geteuid() == 0 ? "" : "Cannot read the folder ./c: "},
      {"5,000 levels",
       "python3 -c 'import os\nfor _ in range(5000): os.mkdir(\"d\"); os.chdir(\"d\")'",
       {{"listd"}},
       "Scanning"},
      {"64 MB database",
       "printf VALD > ../prog/Vald2600.db && truncate -s 64M ../prog/Vald2600.db",
       {{"list"}},
       "Vald2600.db is larger than it can be"},
      {"names differing in case",
       "for f in a.bin b.BIN c.bin d.Bin; do cp pacman.bin $f; done",
       {{"rename"}},
       "already exists",
       names_differ_beyond_case},
      {"copy into a linked 2600Ren",
       "ln -s ../outside 2600Ren",
       {{"copy"}},
       "2600Ren is not a folder"},
      {"copy and csv beside hard-linked temporary names",
       "mkdir 2600Ren && ln ../outside/victim.txt '2600Ren/Pac-Man (1982) (Atari).bin.vald-copy' "
       "&& "
       "ln ../outside/victim.txt 2600Report.csv.tmp",
       {{"copy", "csv"}},
       "Copied 1 files"},
      {"planted copy run naming an image",
       "printf 'Vald2600 undo journal 1\nrun T copy\ncopy 4096 %08x x pacman.bin\n' $CRC > "
       "2600Undo.txt",
       {},
       "pacman.bin: it is not the file the run made"},
      {"planted copy run through a link",
       "ln -s ../outside lnk && printf 'Vald2600 undo journal 1\nrun T copy\ncopy 4096 %08x "
       "lnk/x lnk/game.bin 1:1\n' $CRC > 2600Undo.txt",
       {},
       "a folder on its way is a link"},
      {"link to a found image, no journal",
       "ln -s pacman.bin p2.bin && echo notes > 2600Undo.txt",
       {{"list"}, {"rename"}},
       "p2.bin is a symbolic link"},
  };
  for (const HostileRow& row : rows) {
    const ValdSandbox sandbox;
    const std::string outside = sandbox.work("../outside");
    make_dir(outside);
    write_text(outside + "/victim.txt", "not yours\n");
    add_image(sandbox, "pacman.bin", "Pac-Man (1982) (Atari)", 1);
    add_image(sandbox, "../outside/game.bin", "River Raid (1982) (Activision)", 2);
    set_environment("CRC", crc);
    run_program("/bin/sh", {"-c", row.shell}, sandbox.work_dir(), sandbox.home_dir());
    const auto outside_before = snapshot(outside, true);
    const auto before = snapshot(sandbox.work_dir(), false);
    std::string said;
    auto runs = row.runs;
    runs.push_back({"undo"});
    for (const auto& words : runs) {
      if (words[0] == "undo" && row.check) row.check(sandbox);
      std::vector<std::string> arguments{"10", sandbox.program(program_file_name())};
      arguments.insert(arguments.end(), words.begin(), words.end());
      const ProgramResult result =
          run_program("/usr/bin/timeout", arguments, sandbox.work_dir(), sandbox.home_dir());
      EXPECT_NE(result.exitCode, 124) << row.what << ": " << words[0] << " did not end";
      said += result.out + result.err;
    }
    chmod(sandbox.work("c").c_str(), 0700);
    EXPECT_NE(said.find(row.said), std::string::npos) << row.what << "\n" << said;
    EXPECT_EQ(snapshot(outside, true), outside_before) << row.what;
    EXPECT_EQ(snapshot(sandbox.work_dir(), false), before) << row.what << "\n" << said;
  }
}

#endif

}  // namespace
