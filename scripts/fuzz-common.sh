# Shared by the fuzz-*.sh scripts, which source it with their arguments:
# $1 the build folder (default build-fuzz), $2 the seconds to run (default 60).
# Sets root, build and seconds; fuzz_build builds targets with clang
# (libFuzzer, ASan, UBSan); fuzz_run runs one fuzzer on its seeds.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-build-fuzz}
seconds=${2:-60}
mkdir -p "$build"
build=$(cd "$build" && pwd)

fuzz_build() {  # fuzz_build TARGET...
  cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVALD_FUZZ=ON -DVALD_BUILD_LAUNCHER=OFF \
    -DVALD_BUILD_BENCH=OFF >/dev/null
  cmake --build "$build" --target "$@" -j 2
}

# fuzz_run NAME SEEDS [LIBFUZZER OPTION...]: runs $build/NAME_fuzzer for
# $seconds on SEEDS and the committed findings (fuzz/findings/NAME), with
# its corpus in $build/NAME-corpus and any crashing input in
# $build/NAME-findings. Returns non-zero when it found a fault: minimize the
# input (NAME_fuzzer -minimize_crash=1 INPUT), mend the fault and commit the
# minimized input into fuzz/findings/NAME, which `make test` replays.
fuzz_run() {
  local name=$1 seeds=$2
  shift 2
  local corpus="$build/$name-corpus" artifacts="$build/$name-findings"
  mkdir -p "$corpus" "$artifacts"
  local status=0
  # libFuzzer writes its own files into the current folder.
  (cd "$build" && "$build/${name}_fuzzer" -max_total_time="$seconds" -timeout=10 \
    -artifact_prefix="$artifacts/" -print_final_stats=1 "$@" "$corpus" "$seeds" "$root/fuzz/findings/$name") || status=$?
  if [ "$status" -ne 0 ]; then
    echo "fuzz: the $name fuzzer found a fault; the input is in $artifacts" >&2
  fi
  return "$status"
}
