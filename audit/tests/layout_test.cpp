// The flash-cart layout rules: names cut, made unique and FAT-safe, folders
// split into ranges, and the order of creation, one row a case.

#include "export/layout.h"

#include <gtest/gtest.h>

namespace {

TEST(LayoutTest, NamesFoldersAndCreationOrder) {
  const struct {
    const char* what;
    std::vector<LayoutItem> items;
    LayoutRules rules;
    std::vector<std::string> files;     // "folder/name" of each item, in their order
    std::vector<std::size_t> creation;  // the items in the order to create them
  } rows[] = {
      {"FAT characters, a device name, a trailing dot",
       {{"b: \"x\"?\x01", "F8"}, {"CON", "bin"}, {"Trailing. ", "E0"}, {"", "4K"}},
       {},
       {"/b_ _x___.F8", "/CON_.bin", "/Trailing.E0", "/_.4K"},
       {3, 0, 1, 2}},
      {"cut to the limit, extension kept, later equals marked",
       {{"Pitfall II - Lost Caverns", "DPC"},
        {"Pitfall II - Lost Caverns (PAL)", "DPC"},
        {"PITFALL II", "DPC"},
        {"\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9 \xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", "bin"}},
       {12, 0},
       {"/Pitfall.DPC", "/Pitfal~2.DPC", "/PITFAL~3.DPC",
        "/\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9 \xc3\xa9\xc3\xa9\xc3\xa9.bin"},
       {0, 1, 2, 3}},
      {"no more than the cap stays in the out folder",
       {{"b", "F8"}, {"A", "F8"}},
       {0, 2},
       {"/b.F8", "/A.F8"},
       {1, 0}},
      {"letter ranges; the rest under #, never with a letter",
       {{"Combat", "2K"},
        {"3-D Tic-Tac-Toe", "2K"},
        {"Asteroids", "F8"},
        {"'88 Games", "4K"},
        {"berzerk", "4K"},
        {"Dig Dug", "F6"}},
       {0, 3},
       {"A-C/Combat.2K", "#/3-D Tic-Tac-Toe.2K", "A-C/Asteroids.F8", "#/'88 Games.4K",
        "A-C/berzerk.4K", "D/Dig Dug.F6"},
       {3, 1, 2, 4, 0, 5}},
      {"a letter over the cap splits by the next character",
       {{"Seaquest", "F8"},
        {"Solaris", "F6"},
        {"Sky Jinks", "4K"},
        {"S.A.C.", "4K"},
        {"Tapper", "E0"}},
       {0, 2},
       {"S#-Se/Seaquest.F8", "Sk-So/Solaris.F6", "Sk-So/Sky Jinks.4K", "S#-Se/S.A.C.4K",
        "T/Tapper.E0"},
       {3, 0, 2, 1, 4}},
      {"equal titles over the cap fill folders in turn",
       {{"Game", "bin"}, {"game", "bin"}, {"Game", "bin"}},
       {0, 2},
       {"Game/Game.bin", "Game~2/game.bin", "Game/Game~2.bin"},
       {0, 2, 1}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const std::vector<LaidOutFile> files = lay_out(row.items, row.rules);
    std::vector<std::string> shown;
    for (const LaidOutFile& file : files) shown.push_back(file.folder + "/" + file.name);
    EXPECT_EQ(shown, row.files);
    EXPECT_EQ(creation_order(files), row.creation);
  }
}

}  // namespace
