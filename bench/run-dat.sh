#!/usr/bin/env bash
# Vald2600 with DAT files: loading a generated 100,000-entry DAT in each
# format (the run prints only the usage and the statistics line, so its time
# is the load), side by side with the same run on the compiled-in table; and
# a scan of 10,000 loose images with the compiled-in table and with a
# 100,000-entry DAT that knows every one of them.
set -euo pipefail
build=$1
if [ -x "$build/catalogue_lookup_bench" ]; then
  "$build/catalogue_lookup_bench" --benchmark_min_time=0.5
fi
bench=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/prog" "$work/home" "$work/loose" "$work/dats"
cp "$build/Vald2600" "$work/prog/"
"$build/make_sample_image" --many 10000 4096 "$work/loose"
for format in clrmamepro logiqx softwarelist; do
  python3 "$bench/make_dat.py" "$format" 100000 "$work/dats/$format.dat"
done
cat "$work"/loose/*.bin "$work"/dats/* > /dev/null  # warm the page cache

time_it() { python3 "$bench/timing.py" "$@"; }
export HOME="$work/home"
vald="$work/prog/Vald2600"
results=$(
  time_it --cwd "$work/home" "load: compiled-in table" -- "$vald"
  for format in clrmamepro logiqx softwarelist; do
    time_it --cwd "$work/home" "load: $format 100000" -- "$vald" "dat=$work/dats/$format.dat"
  done
  time_it --cwd "$work/loose" --setup 'rm -f 2600Scan.txt' "scan: compiled-in table" -- "$vald" scan
  time_it --cwd "$work/loose" --setup 'rm -f 2600Scan.txt' "scan: clrmamepro 100000" -- \
    "$vald" scan "dat=$work/dats/clrmamepro.dat"
)
echo "$results"
ls -l "$work/dats" | awk 'NR > 1 { printf "%s: %.1f MiB\n", $NF, $5 / 1048576 }'
echo "$results" | awk '
  { label = $0; sub(/ +[0-9.]+ s +[0-9]+ KiB$/, "", label); seconds[label] = $(NF-3); memory[label] = $(NF-1) }
  END {
    split("clrmamepro logiqx softwarelist", formats, " ")
    for (i = 1; i <= 3; i++) {
      label = "load: " formats[i] " 100000"
      printf "%s: %.3f s, %.1f MiB (goal: under 0.5 s, under 64 MiB)\n", label, seconds[label], memory[label] / 1024
    }
    with = seconds["scan: clrmamepro 100000"]; without = seconds["scan: compiled-in table"]
    printf "scan with a 100,000-entry DAT / with the compiled-in table: %.2f (goal: within 1.2)\n",
           with / without
    printf "the same without the load of either catalogue: %.2f\n",
           (with - seconds["load: clrmamepro 100000"]) / (without - seconds["load: compiled-in table"])
  }'
