// CRC look-ups in a catalogue of the compiled-in table's size and in one of
// 100,000 entries, in one run: the two figures should be about equal.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/rom_database.h"

namespace {

// A catalogue of `count` entries with distinct CRCs (multiplying by an odd
// number is a bijection on 32 bits), and 1,024 CRC texts to look up, half of
// them in the catalogue.
std::vector<std::string> prepare(int count) {
  reset_rom_database();
  std::vector<CatalogueEntry> entries(static_cast<std::size_t>(count));
  for (int index = 0; index < count; ++index) {
    entries[index].crc = static_cast<std::uint32_t>(index) * 2654435761u;
    entries[index].name = "Game " + std::to_string(index);
    entries[index].size = 4096;
  }
  db_use_loaded_catalogue(std::move(entries));
  db_build_counters();
  std::vector<std::string> texts;
  for (int probe = 0; probe < 1024; ++probe) {
    const std::uint32_t crc = probe % 2 == 0
                                  ? static_cast<std::uint32_t>(probe * 37 % count) * 2654435761u
                                  : 0xF0000000u + static_cast<std::uint32_t>(probe);
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(crc));
    texts.emplace_back(text);
  }
  return texts;
}

void BM_FindCrcText(benchmark::State& state) {
  const std::vector<std::string> texts = prepare(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    for (const std::string& text : texts)
      benchmark::DoNotOptimize(db_find_crc_text(text.c_str(), 0));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.size()));
}

BENCHMARK(BM_FindCrcText)->Arg(1544)->Arg(100000);

}  // namespace

BENCHMARK_MAIN();
