#!/usr/bin/env bash
# Vald2600 scan and list with and without verify, in the same run: on 10,000
# loose 4 KiB images whose CRC-32s the compiled-in table has (each one
# hashed) and, for scan, on 10,000 it does not have (none hashed). The two commands take turns, and
# each figure is the best of its turns; the CPU time (user + system) beside
# the elapsed time shows what a busy machine hides.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/prog" "$work/home" "$work/known" "$work/unknown"
cp "$build/Vald2600" "$work/prog/"
"$build/make_sample_image" --many 10000 --catalogued 4096 "$work/known"
"$build/make_sample_image" --many 10000 4096 "$work/unknown"
cat "$work"/known/*.bin "$work"/unknown/*.bin > /dev/null  # warm the page cache

HOME="$work/home" python3 - "$work" <<'PYTHON'
import os, resource, subprocess, sys, time
work = sys.argv[1]
program = os.path.join(work, "prog", "Vald2600")

def cpu_of_children():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime

def run(folder, words):
    """Elapsed and CPU seconds of one run, after removing what runs leave."""
    cwd = os.path.join(work, folder)
    for left in (os.path.join(cwd, "2600Scan.txt"), os.path.join(work, "prog", "Vald2600.db")):
        if os.path.exists(left):
            os.remove(left)
    cpu, started = cpu_of_children(), time.perf_counter()
    subprocess.run([program] + words, cwd=cwd, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=True)
    return time.perf_counter() - started, cpu_of_children() - cpu

for folder, mode, goal in (("known", "scan", 1.5), ("known", "list", 1.5),
                          ("unknown", "scan", 1.05)):
    best = {}
    for turn in range(9):
        for words in ([mode], [mode, "verify"]):
            elapsed, cpu = run(folder, words)
            old = best.get(" ".join(words), (elapsed, cpu))
            best[" ".join(words)] = (min(old[0], elapsed), min(old[1], cpu))
    for label, (elapsed, cpu) in best.items():
        print("%-26s %.3f s elapsed  %.3f s CPU" % ("%s (%s)" % (label, folder), elapsed, cpu))
    plain, verify = best[mode], best[mode + " verify"]
    print("verify on %s images: %.2f of plain %s elapsed, %.2f CPU (goal: within %.2f)"
          % (folder, verify[0] / plain[0], mode, verify[1] / plain[1], goal))
PYTHON
