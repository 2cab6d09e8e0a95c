#!/usr/bin/env bash
# Vald2600 copy out of a ZIP pack of 2,000 catalogued images (forged CRC-32s,
# in folders of the pack) into 2600Ren, side by side with unzip -q of the
# same pack into an empty folder: the floor any unpacking must pay. Also the
# peak memory of a copy out of a pack of 10,000 members (goal: under 32 MiB).
set -euo pipefail
build=$1
bench=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/prog" "$work/home" "$work/images" "$work/many"
cp "$build/Vald2600" "$work/prog/"
"$build/make_sample_image" --many 2000 --catalogued 4096 "$work/images"
(cd "$work/images" && mkdir A B && mv rom00*.bin A/ && mv rom*.bin B/ && zip -qr ../pack.zip .)
"$build/make_sample_image" --many 10000 --catalogued 4096 "$work/many"
(cd "$work/many" && zip -qr ../many.zip .)
cat "$work/pack.zip" "$work/many.zip" >/dev/null  # warm the page cache

export HOME="$work/home"
fresh='rm -rf "$0/out" "$0/prog/Vald2600.db" && mkdir "$0/out"'
time_it() { python3 "$bench/timing.py" --cwd "$work" --setup "sh -c '$fresh' '$work'" "$@"; }
results=$(
  time_it "Vald2600 copy" -- sh -c 'cp pack.zip out/ && cd out && exec ../prog/Vald2600 copy'
  time_it "unzip -q (floor)" -- sh -c 'cp pack.zip out/ && cd out && exec unzip -q pack.zip'
  time_it "Vald2600 copy 10000" -- sh -c 'cp many.zip out/ && cd out && exec ../prog/Vald2600 copy'
)
echo "$results"
echo "$results" | awk '
  { label = $0; sub(/ +[0-9.]+ s +[0-9]+ KiB$/, "", label); seconds[label] = $(NF-3); kib[label] = $(NF-1) }
  END {
    printf "copy:   %.0f images/s, %.2f times unzip -q (goal: within 1.5)\n",
           2000 / seconds["Vald2600 copy"], seconds["Vald2600 copy"] / seconds["unzip -q (floor)"]
    printf "memory: %.1f MiB peak for a pack of 10,000 members (goal: under 32)\n",
           kib["Vald2600 copy 10000"] / 1024
  }'
