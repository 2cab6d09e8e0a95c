#!/usr/bin/env bash
# Vald2600 scan from a cold page cache (every file evicted with
# posix_fadvise before every run, as after a reboot or on a freshly plugged
# drive), on 10,000 loose 4 KiB images and on 1,000 single-image ZIP
# archives, side by side with the parallel-read floor (eight cat processes
# reading the same evicted files) and with Vald2600_serial, the same program
# with its read-ahead switched off. Then the warm scan of the loose images
# with and without the read-ahead. The commands take turns for ROUNDS rounds
# (5 by default), so that a burst of load on the machine meets each of them
# alike; each figure is the best of its runs.
set -euo pipefail
build=$1
bench=$(cd "$(dirname "$0")" && pwd)
rounds=${ROUNDS:-5}
if [ ! -x "$build/Vald2600_serial" ]; then
  echo "skipped: needs the Vald2600_serial target (built with the benchmarks)"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/prog" "$work/home" "$work/loose" "$work/zips" "$work/zipsource"
cp "$build/Vald2600" "$build/Vald2600_serial" "$work/prog/"
"$build/make_sample_image" --many 10000 4096 "$work/loose"
"$build/make_sample_image" --many 1000 4096 "$work/zipsource"
for image in "$work"/zipsource/*.bin; do
  zip -q -j "$work/zips/$(basename "$image" .bin).zip" "$image"
done
sync  # only pages on the disk can be evicted

export HOME="$work/home"
evict="python3 $bench/evict.py ."
time_it() { python3 "$bench/timing.py" --repeat 1 "$@"; }
seconds_of() { awk '{ print $(NF-3) }'; }

# Eviction must work on the folder's file system (it does not on tmpfs or
# overlay): a cold read has to be slower than a warm one.
echo "work folder: $work ($(df -T "$work" | awk 'NR == 2 { print $2 }'))"
cold=$(time_it --cwd "$work/loose" --setup "$evict" cold -- sh -c 'cat *.bin > /dev/null' |
  seconds_of)
warm=$(time_it --cwd "$work/loose" warm -- sh -c 'cat *.bin > /dev/null' | seconds_of)
echo "cat of the loose images: cold $cold s, warm $warm s"
if awk -v cold="$cold" -v warm="$warm" 'BEGIN { exit !(cold < 1.5 * warm) }'; then
  echo "eviction has no effect here: the cold figures below are warm ones"
fi

floor() { echo "ls *.$1 | xargs -P8 -n200 cat > /dev/null"; }
results=$(
  for ((round = 0; round < rounds; round++)); do
    for folder in loose zips; do
      time_it --cwd "$work/$folder" --setup "rm -f 2600Scan.txt && $evict" \
        "cold scan ($folder)" -- "$work/prog/Vald2600" scan
      time_it --cwd "$work/$folder" --setup "rm -f 2600Scan.txt && $evict" \
        "cold serial scan ($folder)" -- "$work/prog/Vald2600_serial" scan
      extension=$([ $folder = loose ] && echo bin || echo zip)
      time_it --cwd "$work/$folder" --setup "$evict" \
        "cold floor ($folder)" -- sh -c "$(floor $extension)"
    done
    for program in Vald2600 Vald2600_serial; do  # warm runs are short: five a round
      python3 "$bench/timing.py" --repeat 5 --cwd "$work/loose" \
        --setup 'rm -f 2600Scan.txt && cat *.bin > /dev/null' \
        "warm $program (loose)" -- "$work/prog/$program" scan
    done
  done
)
echo "$results" | awk '
  { label = $0; sub(/ +[0-9.]+ s +[0-9]+ KiB$/, "", label)
    if (!(label in best) || $(NF-3) < best[label]) best[label] = $(NF-3)
    if ($(NF-1) > memory[label]) memory[label] = $(NF-1)
    if (!(label in seen)) { seen[label] = 1; order[++labels] = label } }
  END {
    for (i = 1; i <= labels; i++)
      printf "%-28s %9.4f s %9d KiB\n", order[i], best[order[i]], memory[order[i]]
    for (i = 1; i <= 2; i++) {
      set = i == 1 ? "loose" : "zips"
      floor = best["cold floor (" set ")"]
      printf "cold %-5s: scan %.2f times the floor (goal: within 1.3), serial scan %.2f times\n",
             set, best["cold scan (" set ")"] / floor, best["cold serial scan (" set ")"] / floor
    }
    printf "warm loose: scan %.3f times the serial scan (goal: within 1.05)\n",
           best["warm Vald2600 (loose)"] / best["warm Vald2600_serial (loose)"]
    printf "peak memory of the cold scan: %.1f MiB (goal: under 16 MiB)\n",
           memory["cold scan (loose)"] / 1024
  }'
