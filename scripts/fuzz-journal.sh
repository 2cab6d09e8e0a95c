#!/usr/bin/env bash
# Builds the undo journal reader's fuzzer with clang (libFuzzer, ASan, UBSan)
# in the folder $1 and runs it for $2 seconds (default 60). The working
# corpus, the fuzzer's logs and any crashing input stay in that folder.
# Exits non-zero when the fuzzer finds a fault.
set -euo pipefail
source "$(dirname "$0")/fuzz-common.sh"
fuzz_build journal_fuzzer

# Seeds: small journals (fuzz/corpus/journal-*.txt): runs, failed moves,
# undone marks, escaped names and a journal cut short.
seeds="$build/journal-seeds"
rm -rf "$seeds"
mkdir -p "$seeds"
cp "$root"/fuzz/corpus/journal-*.txt "$seeds/"

fuzz_run journal "$seeds" -max_len=65536
