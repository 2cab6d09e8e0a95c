#!/usr/bin/env bash
# Vald2600 list on one ROM pack of 4,000 catalogued 4 KiB images whose
# members are bzip2-compressed (read through libarchive), side by side with
# the same pack deflated (read by the own ZIP reader). Every member of a
# pack is read and checked, so both read 4,000 members; a reader that
# reopened the archive for each member would show here as a ratio far
# above 1. 7-Zip's own test of the bzip2 pack (`7z t`), when it is at hand,
# shows what decoding 4,000 bzip2 members costs anyway.
set -euo pipefail
build=$1
if ! command -v python3 >/dev/null || [ ! -x "$build/make_sample_image" ]; then
  echo "skipped: needs python3 and the make_sample_image target"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/prog" "$work/home" "$work/bzip2" "$work/deflated" "$work/source"
cp "$build/Vald2600" "$work/prog/"
"$build/make_sample_image" --many 4000 --catalogued 4096 "$work/source"
python3 - "$work" <<'PY'
import os, sys, zipfile
work = sys.argv[1]
names = sorted(os.listdir(f"{work}/source"))
for folder, method in (("bzip2", zipfile.ZIP_BZIP2), ("deflated", zipfile.ZIP_DEFLATED)):
    with zipfile.ZipFile(f"{work}/{folder}/pack.zip", "w", method) as pack:
        for name in names:
            pack.write(f"{work}/source/{name}", name)
PY
cat "$work"/*/pack.zip >/dev/null  # warm the page cache

# Best time of $2 runs, in microseconds, of Vald2600 list in the folder $1.
best_time() {
  local folder=$1 runs=$2 best=0 start end
  for ((run = 0; run < runs; run++)); do
    rm -f "$folder"/2600*.txt "$work/prog/Vald2600.db"
    start=$(date +%s%N)
    (cd "$folder" && "$work/prog/Vald2600" list >/dev/null 2>&1)
    end=$(date +%s%N)
    if [ "$best" -eq 0 ] || [ $(((end - start) / 1000)) -lt "$best" ]; then
      best=$(((end - start) / 1000))
    fi
  done
  echo "$best"
}

# Best time of 3 runs of `7z t` on the bzip2 pack, in microseconds; 0 without 7-Zip.
seven_zip_time() {
  local sevenzip best=0 start end
  sevenzip=$(command -v 7z || command -v 7zz || true)
  [ -n "$sevenzip" ] || { echo 0; return; }
  for run in 1 2 3; do
    start=$(date +%s%N)
    "$sevenzip" t -bso0 -bsp0 "$work/bzip2/pack.zip" >/dev/null
    end=$(date +%s%N)
    if [ "$best" -eq 0 ] || [ $(((end - start) / 1000)) -lt "$best" ]; then
      best=$(((end - start) / 1000))
    fi
  done
  echo "$best"
}

export HOME="$work/home"
bzip2=$(best_time "$work/bzip2" 3)
deflated=$(best_time "$work/deflated" 3)
seven=$(seven_zip_time)
awk -v b="$bzip2" -v d="$deflated" -v s="$seven" 'BEGIN {
  printf "4000-member pack, list: bzip2 members %.0f ms   deflated %.0f ms   ratio %.2f\n",
         b / 1000, d / 1000, b / d
  if (s > 0) printf "4000-member bzip2 pack: 7z t %.0f ms   ratio list/7z t %.2f\n", s / 1000, b / s
}'
