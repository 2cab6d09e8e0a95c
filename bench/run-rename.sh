#!/usr/bin/env bash
# Vald2600 rename and list of 10,000 catalogued images (forged CRC-32s; each
# title about six times, so duplicates and counter names are part of the
# work), and undo of that rename, side by side with a shell mv of the same
# files into one folder: the floor any rename must pay.
set -euo pipefail
build=$1
bench=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/prog" "$work/home" "$work/pristine"
cp "$build/Vald2600" "$work/prog/"
"$build/make_sample_image" --many 10000 --catalogued 4096 "$work/pristine"
cat "$work"/pristine/*.bin > /dev/null  # warm the page cache

restore='rm -rf "$0/collection" "$0/prog/Vald2600.db" && cp -r "$0/pristine" "$0/collection" && mkdir "$0/collection/moved"'
export HOME="$work/home"
time_it() { python3 "$bench/timing.py" --cwd "$work" --setup "sh -c '$restore' '$work'" "$@"; }
# undo is timed on the journal of a rename made during its set-up.
renamed="$restore"' && cd "$0/collection" && ../prog/Vald2600 rename >/dev/null 2>&1'
time_undo() { python3 "$bench/timing.py" --cwd "$work" --setup "sh -c '$renamed' '$work'" "$@"; }
results=$(
  time_it "Vald2600 rename" -- sh -c 'cd collection && exec ../prog/Vald2600 rename'
  time_it "Vald2600 list" -- sh -c 'cd collection && exec ../prog/Vald2600 list'
  time_it "mv (floor)" -- sh -c 'cd collection && exec mv -- rom*.bin moved/'
  time_undo "Vald2600 undo" -- sh -c 'cd collection && exec ../prog/Vald2600 undo'
)
echo "$results"
echo "$results" | awk '
  { label = $0; sub(/ +[0-9.]+ s +[0-9]+ KiB$/, "", label); seconds[label] = $(NF-3) }
  END {
    printf "rename: %.0f files/s, %.2f times the mv floor (goal: within 2.2)\n",
           10000 / seconds["Vald2600 rename"], seconds["Vald2600 rename"] / seconds["mv (floor)"]
    printf "list:   %.0f files/s, %.2f times the mv floor\n",
           10000 / seconds["Vald2600 list"], seconds["Vald2600 list"] / seconds["mv (floor)"]
    printf "undo:   %.0f files/s, %.2f times the mv floor (goal: within 2)\n",
           10000 / seconds["Vald2600 undo"], seconds["Vald2600 undo"] / seconds["mv (floor)"]
  }'
