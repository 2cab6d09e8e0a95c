#!/usr/bin/env bash
# Builds the undo journal reader's fuzzer with clang (libFuzzer, ASan, UBSan)
# in the folder $1 and runs it for $2 seconds (default 60). The working
# corpus, the fuzzer's logs and any crashing input stay in that folder.
# Exits non-zero when the fuzzer finds a fault.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build-fuzz}
seconds=${2:-60}
mkdir -p "$build"
build=$(cd "$build" && pwd)

cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVALD_FUZZ=ON -DVALD_BUILD_LAUNCHER=OFF \
  -DVALD_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target journal_fuzzer -j 2

# Seeds: small journals (fuzz/corpus/journal-*.txt): runs, failed moves,
# undone marks, escaped names and a journal cut short.
seeds="$build/journal-seeds"
corpus="$build/journal-corpus"
artifacts="$build/journal-findings"
rm -rf "$seeds"
mkdir -p "$seeds" "$corpus" "$artifacts"
cp "$root"/fuzz/corpus/journal-*.txt "$seeds/"

cd "$build"  # libFuzzer writes its own files into the current folder
status=0
"$build/journal_fuzzer" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
  -artifact_prefix="$artifacts/" -print_final_stats=1 "$corpus" "$seeds" || status=$?
if [ "$status" -ne 0 ]; then
  echo "fuzz-journal: the fuzzer found a fault; the input is in $artifacts" >&2
fi
exit "$status"
