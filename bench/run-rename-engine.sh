#!/usr/bin/env bash
# The rename engine per image against the bare no-replace move of the same
# files, in one run (see bench/rename_engine_bench.cpp).
set -euo pipefail
build=$1
if [ ! -x "$build/rename_engine_bench" ]; then
  echo "rename_engine_bench not built (Google Benchmark missing?)"
  exit 0
fi
"$build/rename_engine_bench" --benchmark_min_time=1
