// The ZIP reader on two archives given on the command line: open, list and
// extract every entry; and the same with each entry's CRC-32 checked, the
// work `unzip -t` does on the same archives (bench/run-zip.sh compares them).
//   zip_bench MANY.zip ONE.zip [benchmark flags]

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "zip/zip_reader.h"

namespace {

// Opens, lists and extracts the whole archive; returns the entries read, or
// -1 on any failure.
long read_archive(const std::string& path, std::vector<unsigned char>& room, bool check_crc) {
  ZipHandle archive;
  if (!zip_open(path.c_str(), archive).ok()) return -1;
  long entries = 0;
  for (;;) {
    const ZipEntry* entry = nullptr;
    if (!zip_next_entry(*archive, entry).ok()) return -1;
    if (entry == nullptr) break;
    if (room.size() < entry->uncompressedSize) room.resize(entry->uncompressedSize);
    if (!zip_read_entry(*archive, *entry, room.data()).ok()) return -1;
    if (check_crc && crc32(0, room.data(), entry->uncompressedSize) != entry->crc) return -1;
    ++entries;
  }
  return entries;
}

void extract(benchmark::State& state, const std::string& path, bool check_crc) {
  std::vector<unsigned char> room;
  long entries = 0;
  for (auto _ : state) {
    entries = read_archive(path, room, check_crc);
    benchmark::DoNotOptimize(room.data());
  }
  if (entries < 0) state.SkipWithError(("cannot read " + path).c_str());
  state.SetItemsProcessed(state.iterations() * entries);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s MANY.zip ONE.zip [benchmark flags]\n", argv[0]);
    return 2;
  }
  const std::string many = argv[1];
  const std::string one = argv[2];
  benchmark::RegisterBenchmark("zip/many_members", extract, many, false);
  benchmark::RegisterBenchmark("zip/many_members_crc", extract, many, true);
  benchmark::RegisterBenchmark("zip/one_member", extract, one, false);
  benchmark::RegisterBenchmark("zip/one_member_crc", extract, one, true);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
