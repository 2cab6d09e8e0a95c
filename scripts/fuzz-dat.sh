#!/usr/bin/env bash
# Builds the DAT readers' fuzzers with clang (libFuzzer, ASan, UBSan) in the
# folder $1 and runs each, the clrmamepro text reader and the XML reader, for
# $2 seconds (default 60). Corpora, logs and any crashing input stay in that
# folder. Exits non-zero when a fuzzer finds a fault.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build-fuzz}
seconds=${2:-60}
mkdir -p "$build"
build=$(cd "$build" && pwd)

cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVALD_FUZZ=ON -DVALD_BUILD_LAUNCHER=OFF \
  -DVALD_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target dat_clrmamepro_fuzzer dat_xml_fuzzer -j 2

cd "$build"  # libFuzzer writes its own files into the current folder
status=0
for format in clrmamepro xml; do
  corpus="$build/dat-$format-corpus"
  artifacts="$build/dat-$format-findings"
  seeds="$build/dat-$format-seeds"
  rm -rf "$seeds"
  mkdir -p "$corpus" "$artifacts" "$seeds"
  if [ "$format" = xml ]; then
    cp "$root"/fuzz/dat-seeds/*.xml "$seeds/"
  else
    cp "$root"/fuzz/dat-seeds/*.dat "$seeds/"
  fi
  # A reader that grew with its input would meet this limit.
  "$build/dat_${format}_fuzzer" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -rss_limit_mb=1024 -artifact_prefix="$artifacts/" -print_final_stats=1 \
    "$corpus" "$seeds" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "fuzz-dat: the $format fuzzer found a fault; the input is in $artifacts" >&2
    break
  fi
done
exit "$status"
