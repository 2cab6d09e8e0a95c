#!/usr/bin/env bash
# Builds the ZIP reader's fuzzer with clang (libFuzzer, ASan, UBSan) in the
# folder $1 and runs it for $2 seconds (default 60). The working corpus, the
# fuzzer's logs and any crashing input stay in that folder. Exits non-zero
# when the fuzzer finds a fault.
set -euo pipefail
source "$(dirname "$0")/fuzz-common.sh"
fuzz_build zip_fuzzer

# Seeds: the small archives the tests build (fuzz/corpus) and a few that
# Info-ZIP zip makes now: stored, deflated, with a comment, with a folder,
# with ZIP64 fields.
seeds="$build/zip-seeds"
rm -rf "$seeds"
mkdir -p "$seeds/members/docs"
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

fuzz_run zip "$seeds" -max_len=70000
