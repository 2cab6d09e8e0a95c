#!/usr/bin/env bash
# Runs every benchmark piece (bench/run-*.sh) against the build in $1.
# Each piece measures its subject side by side with a reference tool in the
# same run and prints the figures and ratios.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
cd "$(dirname "$0")/.."
status=0
for piece in bench/run-*.sh; do
  [ -e "$piece" ] || continue
  echo "=== $piece"
  bash "$piece" "$build" || status=1
done
exit $status
