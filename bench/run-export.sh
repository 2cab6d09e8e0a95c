#!/usr/bin/env bash
# Vald2600 copy to=unocart out=FOLDER of 2,000 loose catalogued images beside
# plain copy of the same folder into 2600Ren (goal: within 1.2 times), and
# list csv beside list on 10,000 images the catalogue does not know, 8 KiB
# each: the scheme of an unknown image is read from its bytes only for the
# report, so plain list pays nothing for it, and list csv pays for both the
# scheme and the report.
set -euo pipefail
build=$1
bench=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/prog" "$work/home" "$work/images" "$work/unknown"
cp "$build/Vald2600" "$work/prog/"
"$build/make_sample_image" --many 2000 --catalogued 4096 "$work/images"
"$build/make_sample_image" --many 10000 8192 "$work/unknown"
cat "$work"/images/*.bin "$work"/unknown/*.bin >/dev/null  # warm the page cache

export HOME="$work/home"
fresh='rm -rf "$0/run" "$0/card" "$0/prog/Vald2600.db" && cp -r "$0/images" "$0/run"'
again='rm -f "$0/prog/Vald2600.db" "$0/unknown/2600Report.csv"'
time_it() { python3 "$bench/timing.py" --repeat 5 --cwd "$work" "$@"; }
results=$(
  time_it --setup "sh -c '$fresh' '$work'" "copy" -- sh -c 'cd run && exec ../prog/Vald2600 copy'
  time_it --setup "sh -c '$fresh' '$work'" "copy to=unocart" -- \
    sh -c 'cd run && exec ../prog/Vald2600 copy to=unocart out=../card'
  time_it --setup "sh -c '$again' '$work'" "list" -- sh -c 'cd unknown && exec ../prog/Vald2600 list'
  time_it --setup "sh -c '$again' '$work'" "list csv" -- \
    sh -c 'cd unknown && exec ../prog/Vald2600 list csv'
)
echo "$results"
echo "$results" | awk '
  { label = $0; sub(/ +[0-9.]+ s +[0-9]+ KiB$/, "", label); seconds[label] = $(NF-3) }
  END {
    printf "copy to=unocart: %.2f times plain copy of 2,000 images (goal: within 1.2)\n",
           seconds["copy to=unocart"] / seconds["copy"]
    printf "list csv: %.2f times list of 10,000 unknown 8 KiB images (schemes read and the report written)\n",
           seconds["list csv"] / seconds["list"]
  }'
