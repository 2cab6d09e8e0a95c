// The fuzz targets without libFuzzer: a small program that hands every file
// of the folders (or files) it is given to the target once, in name order,
// as libFuzzer would replay a corpus. Built with the project's own compiler
// and run by `make test`, so that a target that no longer compiles, or an
// input that once found a fault and would again, fails the suite.
//   NAME_replay FOLDER_OR_FILE...

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;

// The inputs under `path`: the file itself, or the files of the folder
// (not those whose names start with a dot), sorted. A missing path has none.
std::vector<fs::path> inputs_of(const fs::path& path) {
  std::vector<fs::path> inputs;
  std::error_code error;
  if (fs::is_regular_file(path, error)) return {path};
  for (const auto& entry : fs::directory_iterator(path, error)) {
    if (entry.is_regular_file() && entry.path().filename().string().front() != '.') {
      inputs.push_back(entry.path());
    }
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

bool replay(const fs::path& input) {
  std::ifstream file(input, std::ios::binary);
  if (!file) return false;
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FOLDER_OR_FILE...\n", argv[0]);
    return 2;
  }
  if (LLVMFuzzerInitialize != nullptr && LLVMFuzzerInitialize(&argc, &argv) != 0) return 1;
  int replayed = 0;
  for (int index = 1; index < argc; ++index) {
    for (const fs::path& input : inputs_of(argv[index])) {
      if (!replay(input)) {
        std::fprintf(stderr, "cannot read %s\n", input.c_str());
        return 1;
      }
      ++replayed;
    }
  }
  std::fprintf(stderr, "%s: replayed %d inputs\n", argv[0], replayed);
  return replayed > 0 ? 0 : 1;
}
