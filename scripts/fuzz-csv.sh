#!/usr/bin/env bash
# Builds and runs the CSV report's fuzzer as fuzz-journal.sh does its own.
set -euo pipefail
source "$(dirname "$0")/fuzz-common.sh"
fuzz_build csv_fuzzer

fuzz_run csv "$root/fuzz/csv-seeds" -max_len=65536 -rss_limit_mb=1024
