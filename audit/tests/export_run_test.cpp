// copy to=TARGET out=FOLDER end to end, one row a target: what lands in the
// out folder, that the sources stay as they were, that a plan says what the
// run does, and that undo in the out folder takes the export back.

#include <gtest/gtest.h>

#include <functional>

#include "export/mame_zip.h"
#include "moving_run_fixture.h"

namespace {

constexpr char kPitfall2[] = "Pitfall II - Lost Caverns (1983) (Activision)";
constexpr char kPitfall2Pal[] = "Pitfall II - Lost Caverns (1983) (Activision) (PAL)";
constexpr char kRiverRaid[] = "River Raid (1982) (Activision)";

// The names of the files below `folder`, without the journal.
std::vector<std::string> exported(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& [path, what] : tree_of(folder)) {
    if (what != "<folder>" && path != "." && path != "2600Undo.txt") names.push_back(path);
  }
  return names;
}

struct ExportRow {
  std::vector<std::string> words;
  std::function<void(const std::string& out, const std::vector<std::string>& files)> check;
};

TEST(ExportRunTest, EachTargetLaysOutItsFilesAndUndoTakesThemBack) {
  const std::vector<ExportRow> rows = {
      {{"to=unocart"},
       [](const std::string&, const std::vector<std::string>& files) {
         EXPECT_EQ(files, (std::vector<std::string>{"Pitfall II - Lost Caverns (.DPC",
                                                    "Pitfall II - Lost Caverns~2.DPC",
                                                    "River Raid (1982) (Activisio.4K"}));
       }},
      {{"to=harmony", "1g1r", "tv=pal"},
       [](const std::string&, const std::vector<std::string>& files) {
         EXPECT_EQ(files, (std::vector<std::string>{"Pitfall II - Lost Ca.DPC",
                                                    "River Raid (1982) (Ac.4K"}));
       }},
      {{"to=mame"},
       [](const std::string&, const std::vector<std::string>& files) {
         EXPECT_EQ(files, (std::vector<std::string>{"a2600/pitfall2.zip", "a2600/pitfall2e.zip",
                                                    "a2600/riveraid.zip"}));
       }},
      {{"to=retroarch"},
       [](const std::string& out, const std::vector<std::string>& files) {
         ASSERT_EQ(files.size(), 4u);
         const std::string playlist = read_text(out + "/Atari - 2600.lpl");
         EXPECT_NE(playlist.find("\"crc32\": \"097CE7AD|crc\""), std::string::npos) << playlist;
       }},
      {{"to=esde"},
       [](const std::string& out, const std::vector<std::string>& files) {
         ASSERT_EQ(files.size(), 4u);
         const std::string list = read_text(out + "/gamelist.xml");
         EXPECT_NE(list.find("<name>Pitfall II - Lost Caverns</name>"), std::string::npos);
         EXPECT_NE(list.find("<releasedate>19830101T000000</releasedate>"), std::string::npos);
       }},
  };
  for (const ExportRow& row : rows) {
    if (row.words[0] == "to=mame" && !zip_writing_available()) continue;  // no libarchive here
    const ValdSandbox sandbox;
    make_dir(sandbox.work("sub"));
    for (const auto& [title, file] :
         {std::pair{kPitfall2, "p2.bin"}, {kPitfall2Pal, "sub/p2e.bin"}, {kRiverRaid, "rr.a26"}}) {
      const int index = catalogue_index_of(title);
      write_bytes(sandbox.work(file), make_sample_image(catalogue_crc(index), 10495, 1));
    }
    const auto sources = user_tree_of(sandbox.work_dir());
    const std::string out = sandbox.work("../card");
    make_dir(out);
    std::vector<std::string> words = {"copy", "out=../card"};
    words.insert(words.end(), row.words.begin(), row.words.end());
    std::vector<std::string> plan_words = words;
    plan_words.push_back("plan");
    const std::string planned = sandbox.run(plan_words).out;
    const std::string ran = sandbox.run(words).out;
    EXPECT_EQ(planned.substr(0, planned.find("Plan only")), ran.substr(0, ran.find("Copied")))
        << row.words[0];
    row.check(out, exported(out));
    EXPECT_EQ(user_tree_of(sandbox.work_dir()), sources) << row.words[0];
    sandbox.run_in(out, {"undo"});
    EXPECT_TRUE(exported(out).empty()) << row.words[0];
  }
}

}  // namespace
