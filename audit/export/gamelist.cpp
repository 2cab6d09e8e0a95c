#include "export/gamelist.h"

#include <algorithm>
#include <map>

#include "export/xml_tree.h"

namespace {

constexpr char DECLARATION[] = "<?xml version=\"1.0\"?>\n";
constexpr char LIST[] = "gameList";
constexpr char GAME[] = "game";
constexpr char PATH[] = "path";
constexpr char NAME[] = "name";
constexpr char RELEASE_DATE[] = "releasedate";
constexpr char PUBLISHER[] = "publisher";
constexpr std::string_view PATH_PREFIX = "./";
constexpr char DATE_SUFFIX[] = "0101T000000";

constexpr char TOO_LARGE[] = "larger than the game lists merged";
constexpr char NO_LIST[] = "no gameList element";
constexpr char SEVERAL_LISTS[] = "more than one gameList element";

bool is_blank(char character) {
  return character == ' ' || character == '\t' || character == '\r' || character == '\n';
}

bool is_four_digits(std::string_view text) {
  return text.size() == 4 && std::all_of(text.begin(), text.end(),
                                         [](char digit) { return digit >= '0' && digit <= '9'; });
}

// Where the group opening at `at` ends (past its closing bracket, groups of
// the same kind nested inside it); `at` itself when none opens there or it
// is left open.
std::size_t group_end(std::string_view name, std::size_t at) {
  const char open = name[at];
  if (open != '(' && open != '[') return at;
  const char close = open == '(' ? ')' : ']';
  int depth = 0;
  for (std::size_t index = at; index < name.size(); ++index) {
    if (name[index] == open) ++depth;
    if (name[index] == close && --depth == 0) return index + 1;
  }
  return at;
}

// A path as the games of a list are matched by: no leading "./", no
// trailing blanks.
std::string_view path_key(std::string_view path) {
  if (path.starts_with(PATH_PREFIX)) path.remove_prefix(PATH_PREFIX.size());
  while (!path.empty() && is_blank(path.back())) path.remove_suffix(1);
  return path;
}

void set_child(XmlNode& game, const char* name, std::string value) {
  if (XmlNode* field = game.child(name)) {
    field->text = std::move(value);
    field->children.clear();
  } else {
    game.children.push_back({name, {}, std::move(value), {}});
  }
}

void set_fields(XmlNode& game, const GameListItem& item) {
  set_child(game, PATH, std::string(PATH_PREFIX) + item.file);
  set_child(game, NAME, game_title(item.name));
  if (is_four_digits(item.year)) set_child(game, RELEASE_DATE, item.year + DATE_SUFFIX);
  if (!item.publisher.empty()) set_child(game, PUBLISHER, item.publisher);
}

void merge_items(XmlNode& list, const std::vector<GameListItem>& items) {
  // Each path's first item, by path; the games already there take theirs.
  std::map<std::string_view, std::size_t> ours;
  for (std::size_t index = 0; index < items.size(); ++index)
    ours.emplace(path_key(items[index].file), index);
  std::vector<bool> placed(items.size());
  for (XmlNode& game : list.children) {
    const XmlNode* path = game.name == GAME ? game.child(PATH) : nullptr;
    const auto found = path != nullptr ? ours.find(path_key(path->text)) : ours.end();
    if (found == ours.end()) continue;
    set_fields(game, items[found->second]);
    placed[found->second] = true;
  }
  for (const auto& [key, index] : ours) {
    if (placed[index]) continue;
    XmlNode game{GAME, {}, {}, {}};
    set_fields(game, items[index]);
    list.children.push_back(std::move(game));
  }
}

// The gameList element of `nodes` (one made when there are none at all),
// or why there is not exactly one.
std::string find_list(std::vector<XmlNode>& nodes, XmlNode*& list) {
  if (nodes.empty()) nodes.push_back({LIST, {}, {}, {}});
  list = nullptr;
  for (XmlNode& node : nodes) {
    if (node.name != LIST) continue;
    if (list != nullptr) return SEVERAL_LISTS;
    list = &node;
  }
  return list == nullptr ? NO_LIST : "";
}

}  // namespace

std::string game_title(std::string_view name) {
  std::string title;
  for (std::size_t at = 0; at < name.size();) {
    const std::size_t end = group_end(name, at);
    const char character = end > at ? ' ' : name[at];
    at = std::max(end, at + 1);
    // Blanks, and what stood for a group, run together into one space.
    if (is_blank(character) && (title.empty() || title.back() == ' ')) continue;
    title += is_blank(character) ? ' ' : character;
  }
  while (!title.empty() && title.back() == ' ') title.pop_back();
  return title.empty() ? std::string(name) : title;
}

GameListMerge merged_gamelist(std::string_view existing, const std::vector<GameListItem>& items) {
  if (existing.size() > GAMELIST_FILE_LIMIT) return {{}, TOO_LARGE};
  std::vector<XmlNode> nodes;
  if (!std::all_of(existing.begin(), existing.end(), is_blank)) {
    XmlTreeRead read = read_xml_tree(existing, GAMELIST_ELEMENT_LIMIT);
    if (!read.ok()) return {{}, std::move(read.problem)};
    nodes = std::move(read.nodes);
  }
  XmlNode* list = nullptr;
  if (std::string problem = find_list(nodes, list); !problem.empty()) return {{}, problem};
  merge_items(*list, items);
  std::string text = DECLARATION;
  for (const XmlNode& node : nodes) append_xml_node(text, node, 0);
  return {std::move(text), {}};
}
