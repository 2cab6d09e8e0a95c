// Writes sample images for the demo and the benchmarks.
//
//   make_sample_image [--foreign] [--seed N] CRC SIZE FILE
//       one image with the CRC-32 CRC (eight hex digits) of SIZE bytes
//   make_sample_image --many COUNT [--catalogued] SIZE FOLDER
//       COUNT images rom00000.bin, ... in FOLDER; with --catalogued their
//       CRC-32s run through the catalogue, else they are unknown to it

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "catalogue/rom_table.h"
#include "sample_images.h"

namespace {

int usage(const char* program) {
  std::fprintf(stderr,
               "usage: %s [--foreign] [--seed N] CRC SIZE FILE\n"
               "       %s --many COUNT [--catalogued] SIZE FOLDER\n",
               program, program);
  return 2;
}

std::uint32_t catalogue_crc(unsigned long index) {
  const char* entry = ROM_TABLE[index % static_cast<unsigned long>(ROM_TABLE_COUNT)];
  return static_cast<std::uint32_t>(std::strtoul(std::string(entry, 8).c_str(), nullptr, 16));
}

int write_many(unsigned long count, bool catalogued, std::size_t size, const std::string& folder) {
  for (unsigned long index = 0; index < count; ++index) {
    const std::uint32_t crc =
        catalogued ? catalogue_crc(index) : 0x5a000000u + static_cast<std::uint32_t>(index);
    char name[32];
    std::snprintf(name, sizeof name, "/rom%05lu.bin", index);
    if (!write_file(folder + name,
                    make_sample_image(crc, size, static_cast<std::uint32_t>(index)))) {
      std::fprintf(stderr, "make_sample_image: cannot write %s%s\n", folder.c_str(), name);
      return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool foreign = false;
  bool catalogued = false;
  unsigned long seed = 0;
  unsigned long many = 0;
  int first = 1;
  for (; first < argc && argv[first][0] == '-' && argv[first][1] == '-'; ++first) {
    const std::string option = argv[first];
    if (option == "--foreign") {
      foreign = true;
    } else if (option == "--catalogued") {
      catalogued = true;
    } else if ((option == "--seed" || option == "--many") && first + 1 < argc) {
      (option == "--seed" ? seed : many) = std::strtoul(argv[++first], nullptr, 10);
    } else {
      return usage(argv[0]);
    }
  }
  const int needed = many > 0 ? 2 : 3;
  if (argc - first != needed) return usage(argv[0]);
  const std::size_t size = std::strtoul(argv[argc - 2], nullptr, 10);
  if (size < 16) {
    std::fprintf(stderr, "make_sample_image: size must be at least 16 bytes\n");
    return 2;
  }
  if (many > 0) return write_many(many, catalogued, size, argv[argc - 1]);

  const auto crc = static_cast<std::uint32_t>(std::strtoul(argv[first], nullptr, 16));
  const auto bytes = foreign ? make_foreign_image(crc, size)
                             : make_sample_image(crc, size, static_cast<std::uint32_t>(seed));
  if (!write_file(argv[first + 2], bytes)) {
    std::fprintf(stderr, "make_sample_image: cannot write %s\n", argv[first + 2]);
    return 1;
  }
  return 0;
}
