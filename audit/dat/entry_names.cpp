#include "dat/entry_names.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace {

std::string replace_all(std::string text, std::string_view from, std::string_view to) {
  std::size_t position = 0;
  while ((position = text.find(from, position)) != std::string::npos) {
    text.replace(position, from.size(), to);
    position += to.size();
  }
  return text;
}

bool is_blank_byte(unsigned char byte) {
  return byte == ' ' || (byte >= '\t' && byte <= '\r') || (byte >= 0x1C && byte <= 0x1F);
}

// Runs of blanks (and control bytes) become one space; the ends go.
std::string collapse_blanks(std::string_view text) {
  std::string result;
  bool pending = false;
  for (const char character : text) {
    const auto byte = static_cast<unsigned char>(character);
    if (is_blank_byte(byte) || byte < 0x20 || byte == 0x7F) {
      pending = !result.empty();
      continue;
    }
    if (pending) result.push_back(' ');
    pending = false;
    result.push_back(character);
  }
  return result;
}

std::string_view trim_right(std::string_view text) {
  while (!text.empty() && is_blank_byte(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  return text;
}

std::string_view trim(std::string_view text) {
  text = trim_right(text);
  while (!text.empty() && is_blank_byte(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  return text;
}

// Splits "Title (a) (b)" into "Title" and {"a", "b"}; an unbalanced group
// stays part of the title.
std::string_view split_trailing_groups(std::string_view text, std::vector<std::string>& groups) {
  text = trim_right(text);
  while (!text.empty() && text.back() == ')') {
    int depth = 0;
    std::size_t position = text.size();
    bool balanced = false;
    while (position-- > 0) {
      if (text[position] == ')') ++depth;
      if (text[position] == '(' && --depth == 0) {
        balanced = true;
        break;
      }
    }
    if (!balanced) break;
    groups.insert(groups.begin(),
                  std::string(text.substr(position + 1, text.size() - position - 2)));
    text = trim_right(text.substr(0, position));
  }
  return text;
}

// The year as a group: four characters after the name's cleaning, so that no
// control byte or separator of the list reaches a file name.
std::string year_group(std::string_view year) {
  std::string text = clean_name_text(replace_all(std::string(trim(year)), "?", "x"));
  if (text.size() == 4) return "(" + text + ")";
  if (text.size() == 5 && text.back() == 'x') return "(" + text.substr(0, 4) + ")";
  return "";
}

std::string publisher_group(std::string_view publisher) {
  publisher = trim(publisher);
  if (publisher.empty() || publisher == "<unknown>") return "";
  const std::string cleaned = clean_name_text(publisher);
  return cleaned.empty() ? "" : "(" + cleaned + ")";
}

bool is_alt(const std::string& item) {
  if (item.size() != 3) return false;
  std::string lower = item;
  for (char& character : lower) character = static_cast<char>(std::tolower(character));
  return lower == "alt";
}

// Adds `group` unless the name has it already (the publisher written in
// the description too, say).
void add_new_group(std::string group, std::vector<std::string>& parts) {
  if (std::find(parts.begin() + 1, parts.end(), group) == parts.end())
    parts.push_back(std::move(group));
}

// One trailing group: its items cleaned, "alt" turned into the tag "[a]".
void add_group(const std::string& group, std::vector<std::string>& parts,
               std::vector<std::string>& tags) {
  std::string items;
  std::size_t start = 0;
  while (start <= group.size()) {
    std::size_t comma = group.find(',', start);
    if (comma == std::string::npos) comma = group.size();
    const std::string item = clean_name_text(std::string_view(group).substr(start, comma - start));
    if (is_alt(item)) {
      tags.push_back("[a]");
    } else if (!item.empty()) {
      items += (items.empty() ? "" : ", ") + item;
    }
    start = comma + 1;
  }
  if (!items.empty()) add_new_group("(" + items + ")", parts);
}

std::string lower_ascii(const std::string& text) {
  std::string lower = text;
  for (char& character : lower) {
    if (character >= 'A' && character <= 'Z') character = static_cast<char>(character + 32);
  }
  return lower;
}

}  // namespace

std::string clean_name_text(std::string_view text) {
  std::string result(text);
  static const std::pair<std::string_view, std::string_view> replacements[] = {
      {": ", " - "}, {":", "-"}, {" / ", " - "}, {"/", "-"}, {"\"", "'"}, {"|", "-"}, {"\\", "-"}};
  for (const auto& [from, to] : replacements) result = replace_all(std::move(result), from, to);
  std::erase_if(result, [](char character) {
    return character == '?' || character == '*' || character == '<' || character == '>';
  });
  return collapse_blanks(result);
}

std::string software_entry_name(const SoftwareNameParts& parts) {
  std::vector<std::string> groups;
  const std::string_view title = split_trailing_groups(parts.description, groups);
  std::vector<std::string> pieces{clean_name_text(title)};
  std::vector<std::string> tags;
  for (std::string group : {year_group(parts.year), publisher_group(parts.publisher)}) {
    if (!group.empty()) add_new_group(std::move(group), pieces);
  }
  for (const std::string& group : groups) add_group(group, pieces, tags);
  if (parts.badDump) tags.push_back("[b]");
  std::string name;
  for (const auto* list : {&pieces, &tags}) {
    for (const std::string& piece : *list) name += (name.empty() ? "" : " ") + piece;
  }
  return name;
}

std::string dat_entry_name(std::string_view game, std::string_view rom, bool severalRoms) {
  if (!severalRoms) return clean_name_text(game);
  const std::size_t dot = rom.rfind('.');
  if (dot != std::string_view::npos && dot > 0 && rom.size() - dot <= 5) rom = rom.substr(0, dot);
  std::string combined(game);
  combined += " - ";
  combined += rom;
  return clean_name_text(combined);
}

void number_equal_names(std::vector<CatalogueEntry>& entries) {
  std::vector<std::pair<std::string, std::size_t>> keys;
  keys.reserve(entries.size());
  for (std::size_t index = 0; index < entries.size(); ++index)
    keys.emplace_back(lower_ascii(entries[index].name), index);
  std::stable_sort(keys.begin(), keys.end(), [&](const auto& left, const auto& right) {
    if (left.first != right.first) return left.first < right.first;
    return entries[left.second].name < entries[right.second].name;
  });
  std::vector<CatalogueEntry> sorted;
  sorted.reserve(entries.size());
  for (const auto& key : keys) sorted.push_back(std::move(entries[key.second]));
  // Equal names sit side by side now.
  for (std::size_t first = 0; first < sorted.size();) {
    std::size_t end = first + 1;
    while (end < sorted.size() && sorted[end].name == sorted[first].name) ++end;
    if (end - first > 1) {
      for (std::size_t index = first; index < end; ++index)
        sorted[index].name += " [a" + std::to_string(index - first + 1) + "]";
    }
    first = end;
  }
  entries = std::move(sorted);
}

TvSystem entry_tv_system(std::string_view compatibility, std::string_view name) {
  const std::string_view first = trim(compatibility.substr(0, compatibility.find(',')));
  return tv_system_named(first).value_or(tv_system_of_name(name));
}
