#!/usr/bin/env bash
# Builds the CSV report reader's fuzzer with clang (libFuzzer, ASan, UBSan)
# in the folder $1 and runs it for $2 seconds (default 60), seeded with a
# report of quoted names. Exits non-zero when the fuzzer finds a fault.
set -euo pipefail
source "$(dirname "$0")/fuzz-common.sh"
fuzz_build csv_fuzzer

seeds="$build/csv-seeds"
rm -rf "$seeds"
mkdir -p "$seeds"
printf 'status,title,crc32,size,file,note\r\nnew,"A, ""B""",0000abcd,4096,"x\r\ny.bin",\r\nmiss,C,00000001,,,\r\n' \
  >"$seeds/report.csv"
# An earlier report is read whole, so its memory must stay near its size.
fuzz_run csv "$seeds" -max_len=65536 -rss_limit_mb=1024
