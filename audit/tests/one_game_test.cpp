// One image per game: catalogue entries grouped by their parents, unknown
// images by their titles, and the choice within each game.

#include "export/one_game.h"

#include <gtest/gtest.h>

#include "catalogue/rom_database.h"
#include "test_support.h"

namespace {

TEST(OneGameTest, ChoosesOneImageOfEachGame) {
  reset_rom_database();
  ASSERT_GT(db_count(), 0);
  // A PAL parent with NTSC clones of other titles; a PAL clone; a bad dump.
  const std::vector<std::string> catalogued = {"Open, Sesame! (1983) (Puzzy - Bit Corporation)",
                                               "Apples and Dolls (198x) (CCE)",
                                               "Abre-te, Sesamo! (1983) (CCE)",
                                               "3-D Tic-Tac-Toe (1978) (Atari) (PAL)",
                                               "3-D Tic-Tac-Toe (1978) (Atari)",
                                               "Bermuda (1983) (Starsoft) [b]",
                                               "Bermuda (1983) (Rainbow Vision)"};
  const std::vector<std::string> unknown = {"Game (PAL).bin", "sub/game [a1].bin", "Game [b].bin",
                                            "Game.a26", "Other (SECAM).bin"};
  const struct {
    TvSystem wanted;
    std::vector<std::string> chosen;
  } rows[] = {
      {TvSystem::ntsc,
       {"Abre-te, Sesamo! (1983) (CCE)", "3-D Tic-Tac-Toe (1978) (Atari)",
        "Bermuda (1983) (Rainbow Vision)", "Game.a26", "Other (SECAM).bin"}},
      {TvSystem::pal,
       {"Open, Sesame! (1983) (Puzzy - Bit Corporation)", "3-D Tic-Tac-Toe (1978) (Atari) (PAL)",
        "Bermuda (1983) (Rainbow Vision)", "Game (PAL).bin", "Other (SECAM).bin"}},
  };
  std::vector<GameCandidate> candidates;
  for (const std::string& name : catalogued) {
    ASSERT_GE(catalogue_index_of(name), 0) << name;
    candidates.push_back(game_candidate(catalogue_index_of(name), ""));
  }
  for (const std::string& name : unknown) candidates.push_back(game_candidate(-1, name));
  for (const auto& row : rows) {
    std::vector<std::string> chosen;
    for (const std::size_t at : choose_one_per_game(candidates, row.wanted))
      chosen.push_back(candidates[at].name);
    EXPECT_EQ(chosen, row.chosen) << tv_system_name(row.wanted);
  }
}

}  // namespace
