// Fuzz target for the DAT readers: the input is read as a clrmamepro
// text DAT (built with DAT_FUZZ_XML=0) or as an XML DAT (DAT_FUZZ_XML=1),
// handed to the sink a run uses, and the entries are named and numbered.
// The readers' caps keep every input within bounded memory.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "dat/dat_input.h"
#include "dat/dat_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  DatInput input(std::string_view(reinterpret_cast<const char*>(data), size));
  CatalogueBuilder builder;
  builder.begin_file("fuzz");
  if (DAT_FUZZ_XML) {
    read_xml_dat(input, builder);
  } else {
    read_clrmamepro(input, builder);
  }
  builder.finish();
  return 0;
}
