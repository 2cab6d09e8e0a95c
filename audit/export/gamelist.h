#pragma once
// ES-DE's game list: the gamelist.xml beside the images, which gives each
// image the name, release date and publisher ES-DE shows. An existing list
// is merged, never thrown away: what it says of other files, and whatever a
// user added to the games of ours, is kept.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char GAMELIST_FILE_NAME[] = "gamelist.xml";

// The largest existing game list merged, and the most elements kept of it;
// a larger one is left alone. A caller reads at most one byte more.
inline constexpr std::size_t GAMELIST_FILE_LIMIT = 16 * 1024 * 1024;
inline constexpr std::size_t GAMELIST_ELEMENT_LIMIT = 250000;

// One image of the list.
struct GameListItem {
  std::string file;       // its name in the list's folder, '/' between folders
  std::string name;       // its catalogue name; the list shows its title
  std::string year;       // as the catalogue gives it; only four digits are written
  std::string publisher;  // or empty
};

// The new game list, or why the existing one is left alone.
struct [[nodiscard]] GameListMerge {
  std::string text;     // the whole new gamelist.xml
  std::string problem;  // "line 12: unterminated game element"; empty on success

  bool ok() const { return problem.empty(); }
};

// `name` without its groups in parentheses and brackets, blanks run
// together: "River Raid (1982) (Activision) [!]" gives "River Raid". A
// group left open stays; a name that is nothing but groups stays whole.
std::string game_title(std::string_view name);

// The game list of `items` merged into `existing`, the text of the list
// there (empty, or only blanks, when there is none). Each item is the game
// whose path is "./FILE": the existing one (its "./" optional), else a new
// one after them, the new ones by path. Its path and name are set, its
// release date (YYYY0101T000000) and publisher too when the item has them,
// and its other elements are kept. Games of other files and the elements
// around the list stay as they were; comments do not. Fails, and nothing is
// to be written, when `existing` is no XML, holds no single gameList
// element, or passes the caps above or the XML reader's.
GameListMerge merged_gamelist(std::string_view existing, const std::vector<GameListItem>& items);
