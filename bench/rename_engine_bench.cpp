// The rename engine's cost per image, side by side with the bare no-replace
// move of the same files into one folder (the floor any rename must pay).
// Each batch holds one file per catalogue title, so every image goes to
// 2600Ren under a name of its own.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/rom_database.h"
#include "naming/rename_engine.h"
#include "reports/reports.h"
#include "run/run_state.h"
#include "system/file_system.h"

namespace {

namespace fs = std::filesystem;

// A temporary start folder holding one small file per catalogue title, made
// current for the run's relative paths.
class Batch {
 public:
  Batch() {
    std::string pattern = (fs::temp_directory_path() / "vald-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    root_ = pattern;
    saved_ = fs::current_path();
    fs::current_path(root_);
    reset_run_state();
    run_state().directories.start = root_.string();
    run_state().directories.program = root_.string() + "/";
    db_prepare();
    for (int index = 0; index < db_count(); ++index) {
      char name[32];
      std::snprintf(name, sizeof name, "image%04d.bin", index);
      names_.push_back(name);
      char crc[9];
      std::snprintf(crc, sizeof crc, "%08x", static_cast<unsigned>(rom_database().crcs[index]));
      crcs_.push_back(crc);
    }
  }
  ~Batch() {
    fs::current_path(saved_);
    fs::remove_all(root_);
    reset_run_state();
  }

  // Writes the files afresh and empties the target folders.
  void refill() {
    fs::remove_all(root_ / "2600Ren");
    fs::remove_all(root_ / "moved");
    run_state().rename.targetPrepared = false;
    for (const std::string& name : names_) {
      if (std::FILE* file = std::fopen(name.c_str(), "wb")) {
        std::fputs(name.c_str(), file);
        std::fclose(file);
      }
    }
  }

  const std::vector<std::string>& names() const { return names_; }
  const std::vector<std::string>& crcs() const { return crcs_; }

 private:
  fs::path root_;
  fs::path saved_;
  std::vector<std::string> names_;
  std::vector<std::string> crcs_;
};

void BM_RenameImage(benchmark::State& state) {
  Batch batch;
  for (auto _ : state) {
    state.PauseTiming();
    batch.refill();
    state.ResumeTiming();
    for (std::size_t index = 0; index < batch.names().size(); ++index) {
      rename_image(batch.crcs()[index].c_str(), batch.names()[index].c_str());
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(batch.names().size()));
}

void BM_NoReplaceMoveFloor(benchmark::State& state) {
  Batch batch;
  for (auto _ : state) {
    state.PauseTiming();
    batch.refill();
    state.ResumeTiming();
    if (!file_system().make_directory("moved").ok()) state.SkipWithError("cannot make moved/");
    for (const std::string& name : batch.names()) {
      if (!file_system().move_file(name, "moved/" + name).ok()) state.SkipWithError("move failed");
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(batch.names().size()));
}

BENCHMARK(BM_NoReplaceMoveFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenameImage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
