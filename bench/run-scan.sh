#!/usr/bin/env bash
# Vald2600 scan on 10,000 loose 4 KiB images and on 1,000 single-image ZIP
# archives, side by side with cksfv (CRC-32 of the same loose files) and cat
# (the cost of reading them at all).
set -euo pipefail
build=$1
bench=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/prog" "$work/home" "$work/loose" "$work/zips" "$work/zipsource"
cp "$build/Vald2600" "$work/prog/"
"$build/make_sample_image" --many 10000 4096 "$work/loose"
"$build/make_sample_image" --many 1000 4096 "$work/zipsource"
for image in "$work"/zipsource/*.bin; do
  name=$(basename "$image" .bin)
  zip -q -j "$work/zips/$name.zip" "$image"
done
cat "$work"/loose/*.bin "$work"/zips/*.zip > /dev/null  # warm the page cache

time_it() { python3 "$bench/timing.py" "$@"; }
export HOME="$work/home"
results=$(
  time_it --cwd "$work/loose" --setup 'rm -f 2600Scan.txt' "Vald2600 scan (loose)" -- "$work/prog/Vald2600" scan
  time_it --cwd "$work/loose" "cksfv (loose)" -- sh -c 'cksfv *.bin > /dev/null'
  time_it --cwd "$work/loose" "cat (loose)" -- sh -c 'cat *.bin > /dev/null'
  time_it --cwd "$work/zips" --setup 'rm -f 2600Scan.txt' "Vald2600 scan (zip)" -- "$work/prog/Vald2600" scan
)
echo "$results"
echo "$results" | awk '
  { label = $0; sub(/ +[0-9.]+ s +[0-9]+ KiB$/, "", label); seconds[label] = $(NF-3); memory[label] = $(NF-1) }
  END {
    loose = seconds["Vald2600 scan (loose)"]; zips = seconds["Vald2600 scan (zip)"]
    printf "Vald2600 scan: %.0f loose files/s, %.0f archives/s\n", 10000 / loose, 1000 / zips
    printf "ratio to cksfv: %.2f   ratio to cat: %.2f   (goal: within 1.5 of cksfv)\n",
           loose / seconds["cksfv (loose)"], loose / seconds["cat (loose)"]
    printf "peak memory of Vald2600 scan: %.1f MiB (goal: under 16 MiB)\n", memory["Vald2600 scan (loose)"] / 1024
  }'
