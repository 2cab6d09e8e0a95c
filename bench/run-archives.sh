#!/usr/bin/env bash
# Vald2600 scan on 1,000 single-image 7z archives side by side with 7-Zip's
# own test of the same archives (`7z t`, one process for all of them), and
# the scan of 1,000 single-image ZIP archives with and without the check of
# comparing every member's CRC-32 with the archive's headers
# (Vald2600_unchecked computes it once, as before, and compares nothing).
set -euo pipefail
build=$1
bench=$(cd "$(dirname "$0")" && pwd)
sevenzip=$(command -v 7z || command -v 7zz || true)
if [ -z "$sevenzip" ] || [ ! -x "$build/Vald2600_unchecked" ]; then
  echo "skipped: needs 7z or 7zz (Debian package 7zip) and the Vald2600_unchecked target"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/prog" "$work/home" "$work/sevens" "$work/zips" "$work/source"
cp "$build/Vald2600" "$build/Vald2600_unchecked" "$work/prog/"
"$build/make_sample_image" --many 1000 4096 "$work/source"
for image in "$work"/source/*.bin; do
  name=$(basename "$image" .bin)
  "$sevenzip" a -bso0 -bsp0 "$work/sevens/$name.7z" "$image"
  zip -q -j "$work/zips/$name.zip" "$image"
done
cat "$work"/sevens/*.7z "$work"/zips/*.zip >/dev/null  # warm the page cache

time_it() { python3 "$bench/timing.py" --repeat 21 "$@"; }
export HOME="$work/home"
results=$(
  time_it --cwd "$work/sevens" --setup 'rm -f 2600Scan.txt' "Vald2600 scan (7z)" -- \
    "$work/prog/Vald2600" scan
  time_it --cwd "$work/sevens" "7z t (7z)" -- "$sevenzip" t -bso0 -bsp0 -an '-ai!*.7z'
  time_it --cwd "$work/zips" --setup 'rm -f 2600Scan.txt' "Vald2600 scan (zip, checked)" -- \
    "$work/prog/Vald2600" scan
  time_it --cwd "$work/zips" --setup 'rm -f 2600Scan.txt' "Vald2600 scan (zip, unchecked)" -- \
    "$work/prog/Vald2600_unchecked" scan
)
echo "$results"
echo "$results" | awk '
  { label = $0; sub(/ +[0-9.]+ s +[0-9]+ KiB$/, "", label); seconds[label] = $(NF-3) }
  END {
    sevens = seconds["Vald2600 scan (7z)"]; tested = seconds["7z t (7z)"]
    checked = seconds["Vald2600 scan (zip, checked)"]; unchecked = seconds["Vald2600 scan (zip, unchecked)"]
    printf "7z: Vald2600 scan %.0f archives/s, 7z t %.0f archives/s, ratio scan/7z t: %.2f\n",
           1000 / sevens, 1000 / tested, sevens / tested
    printf "zip: the CRC check costs %+.1f%% of the scan (goal: within 5%%)\n",
           100 * (checked - unchecked) / unchecked
  }'
