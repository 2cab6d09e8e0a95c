#!/usr/bin/env bash
# Builds the libarchive path's fuzzer with clang (libFuzzer, ASan, UBSan) in
# the folder $1 and runs it for $2 seconds (default 60) on 7z archives and on
# ZIP archives whose members need libarchive, made now by 7-Zip and Python.
# The working corpus, the logs and any crashing input stay in that folder.
# Exits non-zero when the fuzzer finds a fault. The decoders inside libarchive
# reserve the dictionary an archive claims (up to 4 GiB) without touching
# it, so single allocations may reach 4 GiB; the resident memory stays
# limited to 2 GiB.
set -euo pipefail
source "$(dirname "$0")/fuzz-common.sh"
fuzz_build archive_fuzzer

sevenzip=$(command -v 7z || command -v 7zz || true)
if [ -z "$sevenzip" ]; then
  echo "fuzz-archive: no 7z or 7zz command (Debian package 7zip)" >&2
  exit 1
fi
seeds="$build/archive-seeds"
rm -rf "$seeds"
mkdir -p "$seeds/members"
(
  cd "$seeds/members"
  python3 -c "import random,sys; random.seed(7); sys.stdout.buffer.write(bytes(random.choice(b'\x00\x85\xa9\xd0\x4c\x20\xff') for _ in range(2048)))" >game.bin
  printf 'A short manual.\nPress fire to start.\n' >manual.txt
  cp game.bin other.a26
  for method in LZMA LZMA2 PPMd BZip2 Deflate Copy; do
    "$sevenzip" a -bd -bso0 -m0="$method" "../$method.7z" game.bin manual.txt
  done
  "$sevenzip" a -bd -bso0 -ms=on ../solid.7z game.bin other.a26 manual.txt
  "$sevenzip" a -bd -bso0 -pfire ../locked.7z game.bin
  "$sevenzip" a -bd -bso0 -pfire -mhe=on ../hidden.7z game.bin
  "$sevenzip" a -bd -bso0 -tzip -mm=BZip2 ../bzip2.zip game.bin
  python3 - <<'PY'
import zipfile
for name, method in (("lzma", zipfile.ZIP_LZMA), ("bzip2-py", zipfile.ZIP_BZIP2)):
    with zipfile.ZipFile(f"../{name}.zip", "w", method) as archive:
        archive.write("game.bin")
PY
)
rm -rf "$seeds/members"
cp "$root"/fuzz/archive-seeds/* "$seeds/"

fuzz_run archive "$seeds" -max_len=70000 -rss_limit_mb=2048 -malloc_limit_mb=4200
