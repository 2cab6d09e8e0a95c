#!/usr/bin/env bash
# Builds and runs the CSV report's fuzzer as fuzz-journal.sh does its own.
set -euo pipefail
source "$(dirname "$0")/fuzz-common.sh"
fuzz_build csv_fuzzer

seeds="$build/csv-seeds"
rm -rf "$seeds"
mkdir -p "$seeds"
printf 'status,title,crc32,size,file,note\r\nnew,"A, ""B""",0000abcd,4096,"x\r\ny.bin",\r\nmiss,C,00000001,,,\r\n' \
  >"$seeds/report.csv"
fuzz_run csv "$seeds" -max_len=65536 -rss_limit_mb=1024
