#include "export/layout.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "naming/safe_names.h"

namespace {

constexpr char OTHER_CHARACTER = '#';  // the titles that do not begin with a letter; see the header
constexpr char RANGE_DASH = '-';       // between a range's first and last group
constexpr char MARK[] = "~";           // before the number that tells equal names apart
constexpr char EMPTY_TITLE[] = "_";

bool is_letter(char character) {
  return (character >= 'A' && character <= 'Z') || (character >= 'a' && character <= 'z');
}

bool is_digit(char character) {
  return character >= '0' && character <= '9';
}

char lower(char character) {
  return character >= 'A' && character <= 'Z' ? static_cast<char>(character + 32) : character;
}

std::string folded(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), lower);
  return result;
}

bool starts_character(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;  // no UTF-8 continuation byte
}

std::size_t characters(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), starts_character));
}

// The first `count` characters of `text`, never cut inside one.
std::string_view first_characters(std::string_view text, std::size_t count) {
  std::size_t seen = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (starts_character(text[at]) && seen++ == count) return text.substr(0, at);
  }
  return text;
}

// The title part of a name that leaves `tail` characters to the mark and
// the extension: at least one character, whatever the limit.
std::string cut_title(const std::string& title, std::size_t limit, std::size_t tail) {
  if (limit == 0) return title;
  std::string cut(first_characters(title, limit > tail ? limit - tail : 1));
  while (cut.size() > 1 && (cut.back() == ' ' || cut.back() == '.')) cut.pop_back();
  return cut;
}

// The names of one folder: each folded, and for each title and extension
// the mark its next name tries first.
struct FolderNames {
  std::unordered_set<std::string> taken;
  std::unordered_map<std::string, std::size_t> nextMark;
};

// `title` with `extension` ("": none), cut to `limit` characters (0: no
// limit) and marked until no name of the folder equals it, folded, and it is
// safe; the name is then taken.
std::string unique_name(const std::string& title, const std::string& extension, std::size_t limit,
                        FolderNames& names) {
  const std::string dotted = extension.empty() ? "" : "." + extension;
  // The marks before it gave names that are taken, or unsafe, for good.
  std::size_t& mark = names.nextMark.try_emplace(folded(title + dotted), 1).first->second;
  for (;; ++mark) {
    const std::string tail = (mark > 1 ? MARK + std::to_string(mark) : "") + dotted;
    const std::string name = cut_title(title, limit, characters(tail)) + tail;
    // Only an unmarked title can be a device name; a marked one never is.
    if (safe_name(name, NameTarget::fat) == name && names.taken.insert(folded(name)).second) {
      ++mark;
      return name;
    }
  }
}

// The title as a file name may hold it.
std::string safe_title(const std::string& title) {
  const std::string safe = safe_name(title, NameTarget::fat);
  return safe.empty() ? EMPTY_TITLE : safe;
}

// What ranges sort and split titles by: letters in lower case, digits, and
// OTHER_CHARACTER for anything else.
std::string range_key(std::string_view title) {
  std::string key;
  for (const char character : title) {
    key += is_letter(character) || is_digit(character) ? lower(character) : OTHER_CHARACTER;
  }
  return key;
}

// Titles in sorted order that share a key prefix, and the prefix; the
// positions are those of the sorted keys.
struct Group {
  std::string prefix;
  std::size_t begin;
  std::size_t end;
};

// Splits the sorted keys [begin, end), which share their first `depth`
// characters, into groups of at most `cap` by the characters that follow.
void split_group(const std::vector<std::string>& keys, std::size_t begin, std::size_t end,
                 std::size_t depth, std::size_t cap, std::vector<Group>& groups) {
  const std::string prefix = keys[begin].substr(0, depth);
  if (end - begin <= cap) {
    groups.push_back({prefix, begin, end});
    return;
  }
  std::size_t at = begin;
  while (at < end && keys[at].size() == depth) ++at;  // ended here, sorted first
  for (std::size_t chunk = begin; chunk < at; chunk += cap) {
    groups.push_back({prefix, chunk, std::min(chunk + cap, at)});
  }
  while (at < end) {
    std::size_t next = at;
    while (next < end && keys[next][depth] == keys[at][depth]) ++next;
    split_group(keys, at, next, depth + 1, cap, groups);
    at = next;
  }
}

// The groups of the sorted keys: those not beginning with a letter as one,
// then each letter's; `letters` is where the letters begin.
std::vector<Group> first_groups(const std::vector<std::string>& keys, std::size_t letters,
                                std::size_t cap) {
  std::vector<Group> groups;
  if (letters > 0 && letters <= cap)
    groups.push_back({std::string(1, OTHER_CHARACTER), 0, letters});
  if (letters > cap) split_group(keys, 0, letters, 0, cap, groups);
  for (std::size_t at = letters; at < keys.size();) {
    std::size_t next = at;
    while (next < keys.size() && keys[next][0] == keys[at][0]) ++next;
    split_group(keys, at, next, 1, cap, groups);
    at = next;
  }
  return groups;
}

// A group as a range name shows it: "S", "Sa", "S#".
std::string shown(std::string prefix) {
  if (!prefix.empty()) prefix[0] = static_cast<char>(prefix[0] - (is_letter(prefix[0]) ? 32 : 0));
  return prefix;
}

struct Range {
  std::string first;
  std::string last;
  std::size_t begin;
  std::size_t end;
};

// Neighbouring groups joined while a range holds at most `cap`; never
// across `letters`.
std::vector<Range> ranges_of(const std::vector<Group>& groups, std::size_t letters,
                             std::size_t cap) {
  std::vector<Range> ranges;
  for (const Group& group : groups) {
    if (!ranges.empty() && group.end - ranges.back().begin <= cap && group.begin != letters) {
      ranges.back().last = group.prefix;
      ranges.back().end = group.end;
    } else {
      ranges.push_back({group.prefix, group.prefix, group.begin, group.end});
    }
  }
  return ranges;
}

// The range folder of each title; "" for all when they fit the cap.
std::vector<std::string> folders_of(const std::vector<std::string>& titles, std::size_t cap) {
  std::vector<std::string> folders(titles.size());
  if (cap == 0 || titles.size() <= cap) return folders;
  std::vector<std::size_t> order(titles.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::vector<std::string> keys(titles.size());
  std::transform(titles.begin(), titles.end(), keys.begin(), range_key);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t left, std::size_t right) {
    return std::tie(keys[left], titles[left]) < std::tie(keys[right], titles[right]);
  });
  std::vector<std::string> sorted(titles.size());
  for (std::size_t at = 0; at < order.size(); ++at) sorted[at] = keys[order[at]];
  const auto letters = static_cast<std::size_t>(
      std::find_if(sorted.begin(), sorted.end(),
                   [](const std::string& key) { return is_letter(key[0]); }) -
      sorted.begin());
  FolderNames taken;
  for (const Range& range : ranges_of(first_groups(sorted, letters, cap), letters, cap)) {
    std::string name = shown(range.first);
    if (range.last != range.first) name += RANGE_DASH + shown(range.last);
    name = unique_name(safe_name(name, NameTarget::fat), "", 0, taken);
    for (std::size_t at = range.begin; at < range.end; ++at) folders[order[at]] = name;
  }
  return folders;
}

}  // namespace

std::vector<LaidOutFile> lay_out(const std::vector<LayoutItem>& items, const LayoutRules& rules) {
  std::vector<std::string> titles(items.size());
  std::transform(items.begin(), items.end(), titles.begin(),
                 [](const LayoutItem& item) { return safe_title(item.title); });
  const std::vector<std::string> folders = folders_of(titles, rules.folderCap);
  std::unordered_map<std::string, FolderNames> taken;
  std::vector<LaidOutFile> files;
  files.reserve(items.size());
  for (std::size_t at = 0; at < items.size(); ++at) {
    const std::string extension = safe_name(items[at].extension, NameTarget::fat);
    files.push_back(
        {folders[at], unique_name(titles[at], extension, rules.nameLimit, taken[folders[at]])});
  }
  return files;
}

std::vector<std::size_t> creation_order(const std::vector<LaidOutFile>& files) {
  using Key = std::tuple<bool, std::string, const std::string&, std::string, const std::string&>;
  std::vector<Key> keys;
  keys.reserve(files.size());
  for (const LaidOutFile& file : files) {
    keys.emplace_back(file.folder.empty(), folded(file.folder), file.folder, folded(file.name),
                      file.name);
  }
  std::vector<std::size_t> order(files.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t left, std::size_t right) { return keys[left] < keys[right]; });
  return order;
}
