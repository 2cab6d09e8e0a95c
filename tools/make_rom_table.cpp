// Turns a software list of Atari 2600 cartridges (XML) into Vald2600's
// compiled-in catalogue table, with the same loader and naming rules the tool
// uses for the DAT files a run is given.
//
// Usage: make_rom_table SOFTWARE_LIST.xml OUTPUT.cpp

#include <cstdio>
#include <string>

#include "dat/dat_loader.h"
#include "rom_table_source.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "Usage: make_rom_table SOFTWARE_LIST.xml OUTPUT.cpp\n");
    return 2;
  }
  CatalogueBuilder builder;
  DatError error;
  if (!builder.load_file(argv[1], error) || !builder.has_entries(error)) {
    std::fprintf(stderr, "%s\n", dat_refusal_line(error).c_str());
    return 1;
  }
  const std::string summary = dat_summary_line(builder.summaries().back());
  const std::vector<UnheldRom> unheld = builder.unheld();
  const std::string source = rom_table_source(builder.finish(), unheld);
  std::FILE* output = std::fopen(argv[2], "wb");
  if (output == nullptr || std::fwrite(source.data(), 1, source.size(), output) != source.size() ||
      std::fclose(output) != 0) {
    std::fprintf(stderr, "make_rom_table: cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("%s, written to %s\n", summary.c_str(), argv[2]);
  return 0;
}
