#include "export/one_game.h"

#include <algorithm>
#include <tuple>
#include <unordered_map>

#include "catalogue/rom_database.h"
#include "dat/entry_names.h"
#include "run/run_state.h"

namespace {

constexpr std::string_view TITLE_ENDS = "([";
constexpr char ALTERNATE_TAG = 'a';
constexpr char BAD_DUMP_TAG = 'b';

std::string folded(std::string_view text) {
  std::string result(text);
  for (char& character : result) {
    if (character >= 'A' && character <= 'Z') character = static_cast<char>(character + 32);
  }
  return result;
}

std::string title_of(std::string_view name) {
  std::string_view title = name.substr(0, std::min(name.find_first_of(TITLE_ENDS), name.size()));
  while (!title.empty() && (title.back() == ' ' || title.back() == '\t')) title.remove_suffix(1);
  return std::string(title.empty() ? name : title);
}

// Whether `name` has the tag "[x]" or "[x" + digits + "]" for `letter` x.
bool has_tag(std::string_view name, char letter) {
  const char opening[] = {'[', letter, '\0'};
  for (std::size_t at = name.find(opening); at != std::string_view::npos;
       at = name.find(opening, at + 1)) {
    std::size_t end = at + 2;
    while (end < name.size() && name[end] >= '0' && name[end] <= '9') ++end;
    if (end < name.size() && name[end] == ']') return true;
  }
  return false;
}

// Whether a DAT names another game as the one the entry's is a clone of.
bool names_other_game(const CatalogueEntry& record) {
  return !record.cloneOf.empty() && record.cloneOf != record.software;
}

std::string game_of_record(int entry, const CatalogueEntry& record) {
  if (record.parent >= 0) return title_of(db_name(record.parent));
  if (names_other_game(record)) return title_of(clean_name_text(record.cloneOf));
  return title_of(db_name(entry));
}

// The order of the choice: the smaller is kept.
auto choice_key(const GameCandidate& candidate, TvSystem wanted) {
  return std::make_tuple(candidate.tv != wanted, candidate.badDump, candidate.alternate,
                         !candidate.parent, folded(candidate.name), candidate.name);
}

}  // namespace

std::string game_of(int entry) {
  if (entry < 0 || entry >= db_count()) return "";
  return game_of_record(entry, db_entry_record(entry));
}

std::string game_of_name(std::string_view name) {
  name.remove_prefix(std::min(name.find_last_of("/\\") + 1, name.size()));
  const std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  return title_of(name);
}

std::vector<std::size_t> choose_one_per_game(const std::vector<GameCandidate>& candidates,
                                             TvSystem wanted) {
  std::unordered_map<std::string, std::size_t> chosen;  // by folded game
  for (std::size_t at = 0; at < candidates.size(); ++at) {
    const auto [kept, first] = chosen.try_emplace(folded(candidates[at].game), at);
    if (!first && choice_key(candidates[at], wanted) < choice_key(candidates[kept->second], wanted))
      kept->second = at;
  }
  std::vector<std::size_t> positions;
  positions.reserve(chosen.size());
  for (const auto& [game, at] : chosen) positions.push_back(at);
  std::sort(positions.begin(), positions.end());
  return positions;
}

GameCandidate game_candidate(int entry, std::string_view fileName) {
  GameCandidate candidate;
  if (entry < 0 || entry >= db_count()) {
    candidate.game = game_of_name(fileName);
    candidate.name = fileName;
    candidate.tv = tv_system_of_name(fileName);
    candidate.badDump = has_tag(fileName, BAD_DUMP_TAG);
    candidate.alternate = has_tag(fileName, ALTERNATE_TAG);
    return candidate;
  }
  const CatalogueEntry record = db_entry_record(entry);
  candidate.game = game_of_record(entry, record);
  candidate.name = db_name(entry);
  candidate.tv = record.tv;
  candidate.badDump = record.badDump || has_tag(candidate.name, BAD_DUMP_TAG);
  candidate.alternate = has_tag(candidate.name, ALTERNATE_TAG);
  candidate.parent = record.parent < 0 && !names_other_game(record);
  return candidate;
}

std::vector<bool> one_entry_per_game(const std::vector<bool>& had, TvSystem wanted) {
  const int count = db_count();
  std::vector<GameCandidate> candidates;
  candidates.reserve(static_cast<std::size_t>(count));
  for (int entry = 0; entry < count; ++entry) candidates.push_back(game_candidate(entry, ""));
  // A game had is shown by an image it has; one missing by the image wanted.
  std::unordered_map<std::string, bool> game_had;
  for (int entry = 0; entry < count; ++entry) {
    if (had[static_cast<std::size_t>(entry)]) game_had[folded(candidates[entry].game)] = true;
  }
  std::vector<GameCandidate> eligible;
  std::vector<int> entries;
  for (int entry = 0; entry < count; ++entry) {
    const bool game_is_had = game_had.count(folded(candidates[entry].game)) != 0;
    if (game_is_had && !had[static_cast<std::size_t>(entry)]) continue;
    eligible.push_back(candidates[entry]);
    entries.push_back(entry);
  }
  std::vector<bool> kept(static_cast<std::size_t>(count), false);
  for (const std::size_t at : choose_one_per_game(eligible, wanted)) kept[entries[at]] = true;
  return kept;
}

std::vector<bool> run_games_shown() {
  const RunOptions& options = run_state().options;
  if (!options.oneGame) return {};
  std::vector<bool> had(static_cast<std::size_t>(db_count()));
  for (int index = 0; index < db_count(); ++index)
    had[static_cast<std::size_t>(index)] = db_had(index);
  return one_entry_per_game(had, options.palWanted ? TvSystem::pal : TvSystem::ntsc);
}
