// The parts of the system layer that are the same on every platform.

#include "system/file_system.h"

namespace {

FileSystem real_file_system;
FileSystem* installed_file_system = nullptr;

}  // namespace

FileSystem& file_system() {
  return installed_file_system != nullptr ? *installed_file_system : real_file_system;
}

void use_file_system(FileSystem* replacement) {
  installed_file_system = replacement;
}

std::string join_path(const std::string& directory, const std::string& name) {
  if (directory.empty() || directory.back() == PATH_SEPARATOR) return directory + name;
  return directory + PATH_SEPARATOR + name;
}
