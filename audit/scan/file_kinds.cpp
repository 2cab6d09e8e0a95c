#include "scan/file_kinds.h"

#include <cctype>
#include <string_view>

namespace {

bool ends_with_ignoring_case(std::string_view name, std::string_view extension) {
  if (name.size() < extension.size()) return false;
  const std::string_view tail = name.substr(name.size() - extension.size());
  for (std::size_t index = 0; index < extension.size(); ++index) {
    if (std::tolower(static_cast<unsigned char>(tail[index])) !=
        std::tolower(static_cast<unsigned char>(extension[index]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool name_has_extension(const char* extension_list, const char* name) {
  const std::string_view list = extension_list;
  std::size_t start = list.find('.');
  while (start != std::string_view::npos) {
    const std::size_t next = list.find('.', start + 1);
    const std::string_view extension = list.substr(start, next - start);
    if (ends_with_ignoring_case(name, extension)) return true;
    start = next;
  }
  return false;
}

bool is_archive_name(const char* name) {
  return name_has_extension(EXTENSIONS_ARCHIVE, name) ||
         name_has_extension(EXTENSIONS_SEVEN_ZIP, name);
}
