#pragma once
// One image per game ("1g1r"): images grouped into games by the catalogue's
// parents and clones, else by their titles, and the one image of each game a
// collector keeps. Reads the catalogue; changes nothing.
//
// A game is named by a title: the text of a name before its first "(" or
// "[", without the blanks it ends in (the whole name when that leaves
// nothing). The name is that of the entry's catalogue parent, else the game
// a DAT says it is a clone of, else the entry's own, so a parent and its
// clones, whose titles may differ, are one game; an image the catalogue does
// not know goes by its file name. Titles are compared without regard to the
// case of ASCII letters.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_entry.h"

struct GameCandidate {
  std::string game;  // what groups images into one game (see game_of)
  std::string name;  // catalogue name (or file name), for the last tie-break
  TvSystem tv = TvSystem::ntsc;
  bool badDump = false;
  bool alternate = false;  // the name has an [a], [a1], ... tag
  bool parent = false;     // the entry is its game's parent, not a clone
};

// The game of catalogue entry `entry`; "" for a position outside the
// catalogue.
std::string game_of(int entry);

// The game of an image the catalogue does not know, by its file name (a
// path's last level; its extension does not count).
std::string game_of_name(std::string_view name);

// The candidates chosen, one per game, as positions in `candidates`, in
// their order. In each game the first by: the TV system `wanted`, not a bad
// dump, not an alternate, the parent over a clone, then the name without
// regard to case (equal ones by their bytes, then the earlier).
std::vector<std::size_t> choose_one_per_game(const std::vector<GameCandidate>& candidates,
                                             TvSystem wanted);

// The candidate of catalogue entry `entry`, with its TV system, bad-dump
// mark and parent from the catalogue; for -1 (or any position outside the
// catalogue), of the unknown image named `fileName`, with the TV system of
// the name's "(PAL)" or "(SECAM)", a bad dump when it has a [b] tag, and no
// parent. An [a] or [b] tag counts with a number too ("[a2]").
GameCandidate game_candidate(int entry, std::string_view fileName);

// The entry that stands for each game of the catalogue: of a game any of
// whose entries `had` marks, the one of those the choice above keeps; of
// any other game, the one it keeps of all its entries.
std::vector<bool> one_entry_per_game(const std::vector<bool>& had, TvSystem wanted);

// With 1g1r, the entry that stands for each game among what the run had,
// for the TV system tv= wants; without it, none (every entry stands for
// itself).
std::vector<bool> run_games_shown();
