#include "system/file_sync.h"

#include <unistd.h>

bool sync_file(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
  return fsync(fileno(file)) == 0;
}
