// Writes one sample image: make_sample_image [--foreign] [--seed N] CRC SIZE FILE
// CRC is eight hex digits; SIZE is in bytes.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sample_images.h"

int main(int argc, char** argv) {
  bool foreign = false;
  unsigned long seed = 0;
  int first = 1;
  for (; first < argc && argv[first][0] == '-'; ++first) {
    if (std::strcmp(argv[first], "--foreign") == 0) {
      foreign = true;
    } else if (std::strcmp(argv[first], "--seed") == 0 && first + 1 < argc) {
      seed = std::strtoul(argv[++first], nullptr, 10);
    } else {
      break;
    }
  }
  if (argc - first != 3) {
    std::fprintf(stderr, "usage: %s [--foreign] [--seed N] CRC SIZE FILE\n", argv[0]);
    return 2;
  }
  const auto crc = static_cast<std::uint32_t>(std::strtoul(argv[first], nullptr, 16));
  const std::size_t size = std::strtoul(argv[first + 1], nullptr, 10);
  if (size < 16) {
    std::fprintf(stderr, "make_sample_image: size must be at least 16 bytes\n");
    return 2;
  }
  const auto bytes = foreign ? make_foreign_image(crc, size)
                             : make_sample_image(crc, size, static_cast<std::uint32_t>(seed));
  if (!write_file(argv[first + 2], bytes)) {
    std::fprintf(stderr, "make_sample_image: cannot write %s\n", argv[first + 2]);
    return 1;
  }
  return 0;
}
