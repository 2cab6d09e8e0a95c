#!/usr/bin/env python3
"""Times commands side by side for the benchmark pieces.

    timing.py [--repeat N] [--cwd DIR] [--setup CMD] LABEL -- COMMAND ...

Runs COMMAND N times (3 by default) in DIR, each time after the shell
command CMD when given (to restore the input), and prints one line:
    LABEL  best seconds  peak memory in KiB
"""

import os
import subprocess
import sys
import tempfile
import time


def run_once(command, cwd):
    # GNU time reports the command's own peak memory; measured from this
    # interpreter, the child's high-water mark would include the
    # interpreter's, which a process keeps across exec.
    with tempfile.NamedTemporaryFile("r") as report:
        started = time.perf_counter()
        result = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name] + command,
                                cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        elapsed = time.perf_counter() - started
        peak = int(report.read().split()[-1])
    if result.returncode != 0:
        sys.exit("timing.py: %s failed with %d" % (command[0], result.returncode))
    return elapsed, peak


def main(arguments):
    repeat, cwd, setup = 3, None, None
    while arguments and arguments[0].startswith("--"):
        option = arguments.pop(0)
        if option == "--repeat":
            repeat = int(arguments.pop(0))
        elif option == "--cwd":
            cwd = arguments.pop(0)
        elif option == "--setup":
            setup = arguments.pop(0)
    label = arguments.pop(0)
    if not arguments or arguments.pop(0) != "--":
        sys.exit(__doc__)
    best, peak = None, 0
    for _ in range(repeat):
        if setup:
            subprocess.run(setup, shell=True, check=True, cwd=cwd)
        elapsed, rss = run_once(arguments, cwd)
        best = elapsed if best is None else min(best, elapsed)
        peak = max(peak, rss)
    print("%-28s %9.4f s %9d KiB" % (label, best, peak))


if __name__ == "__main__":
    main(sys.argv[1:])
