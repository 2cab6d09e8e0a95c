#!/usr/bin/env bash
# Builds the ZIP reader's fuzzer with clang (libFuzzer, ASan, UBSan) in the
# folder $1 and runs it for $2 seconds (default 60). The working corpus, the
# fuzzer's logs and any crashing input stay in that folder. Exits non-zero
# when the fuzzer finds a fault.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build-fuzz}
seconds=${2:-60}
mkdir -p "$build"
build=$(cd "$build" && pwd)

cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVALD_FUZZ=ON -DVALD_BUILD_LAUNCHER=OFF \
  -DVALD_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target zip_fuzzer -j 2

# Seeds: the small archives the tests build (fuzz/corpus) and a few that
# Info-ZIP zip makes now: stored, deflated, with a comment, with a folder,
# with ZIP64 fields.
seeds="$build/zip-seeds"
corpus="$build/zip-corpus"
artifacts="$build/zip-findings"
rm -rf "$seeds"
mkdir -p "$seeds/members/docs" "$corpus" "$artifacts"
cp "$root"/fuzz/corpus/*.zip "$seeds/"
(
  cd "$seeds/members"
  head -c 2048 /dev/zero | tr '\0' 'a' >game.bin
  printf 'A short manual.\nPress fire to start.\n' >docs/manual.txt
  : >empty.a26
  zip -q -0 ../stored.zip game.bin
  zip -q -9 ../deflated.zip game.bin docs/manual.txt
  printf 'an archive comment' | zip -q -z ../commented.zip game.bin
  zip -q -r ../folders.zip docs empty.a26
  zip -q -fz ../zip64.zip game.bin docs/manual.txt
)
rm -rf "$seeds/members"

cd "$build"  # libFuzzer writes its own files into the current folder
status=0
"$build/zip_fuzzer" -max_total_time="$seconds" -max_len=70000 -timeout=10 \
  -artifact_prefix="$artifacts/" -print_final_stats=1 "$corpus" "$seeds" || status=$?
if [ "$status" -ne 0 ]; then
  echo "fuzz-zip: the fuzzer found a fault; the input is in $artifacts" >&2
fi
exit "$status"
