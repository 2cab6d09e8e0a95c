#!/usr/bin/env bash
# Builds the DAT readers' fuzzers with clang (libFuzzer, ASan, UBSan) in the
# folder $1 and runs each, the clrmamepro text reader and the XML reader, for
# $2 seconds (default 60). Corpora, logs and any crashing input stay in that
# folder. Exits non-zero when a fuzzer finds a fault.
set -euo pipefail
source "$(dirname "$0")/fuzz-common.sh"
fuzz_build dat_clrmamepro_fuzzer dat_xml_fuzzer

for format in clrmamepro xml; do
  seeds="$build/dat-$format-seeds"
  rm -rf "$seeds"
  mkdir -p "$seeds"
  if [ "$format" = xml ]; then
    cp "$root"/fuzz/dat-seeds/*.xml "$seeds/"
  else
    cp "$root"/fuzz/dat-seeds/*.dat "$seeds/"
  fi
  # A reader that grew with its input would meet this limit.
  fuzz_run "dat_$format" "$seeds" -max_len=65536 -rss_limit_mb=1024
done
