#include "naming/safe_names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace {

// The device names, upper case; "\xc2\xb9" and so on are the superscript
// digits one, two and three, which Windows treats as digits here.
constexpr std::array<std::string_view, 32> DEVICE_NAMES = {
    "CONIN$",      "CONOUT$",     "CON",         "PRN",        "AUX",  "NUL",         "COM0",
    "COM1",        "COM2",        "COM3",        "COM4",       "COM5", "COM6",        "COM7",
    "COM8",        "COM9",        "LPT0",        "LPT1",       "LPT2", "LPT3",        "LPT4",
    "LPT5",        "LPT6",        "LPT7",        "LPT8",       "LPT9", "COM\xc2\xb9", "COM\xc2\xb2",
    "COM\xc2\xb3", "LPT\xc2\xb9", "LPT\xc2\xb2", "LPT\xc2\xb3"};

bool is_device_name(std::string_view stem) {
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  for (const std::string_view device : DEVICE_NAMES) {
    if (device.size() != stem.size()) continue;
    bool same = true;
    for (std::size_t at = 0; at < stem.size() && same; ++at) {
      same = std::toupper(static_cast<unsigned char>(stem[at])) ==
             static_cast<unsigned char>(device[at]);
    }
    if (same) return true;
  }
  return false;
}

// The characters a FAT file name cannot hold besides control bytes.
constexpr std::string_view FAT_REFUSED = "\"*/:<>?\\|";

bool fat_refuses(char character) {
  return static_cast<unsigned char>(character) < 0x20 ||
         FAT_REFUSED.find(character) != std::string_view::npos;
}

}  // namespace

std::string safe_name(const std::string& name, NameTarget target) {
  std::string safe = name;
  if (target == NameTarget::fat) std::replace_if(safe.begin(), safe.end(), fat_refuses, '_');
  while (!safe.empty() && (safe.back() == '.' || safe.back() == ' ')) safe.pop_back();
  if (safe.empty()) return name.empty() ? std::string() : std::string(1, '_');
  const std::size_t stem_end = std::min(safe.find('.'), safe.size());
  if (is_device_name(std::string_view(safe).substr(0, stem_end))) safe.insert(stem_end, 1, '_');
  return safe;
}

std::string safe_path(const std::string& path, char separator) {
  std::string safe;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = path.find(separator, start);
    safe += safe_name(path.substr(start, end - start));
    if (end == std::string::npos) return safe;
    safe += separator;
    start = end + 1;
  }
}
