#!/usr/bin/env python3
"""Drops files from the page cache, as a reboot or a fresh mount would.

    evict.py PATH ...

Each file given, and each file directly inside each folder given, gets
posix_fadvise(POSIX_FADV_DONTNEED). The system keeps pages that are not
written yet: run `sync` once after making the files.
"""

import os
import sys


def evict(path):
    descriptor = os.open(path, os.O_RDONLY)
    try:
        os.posix_fadvise(descriptor, 0, 0, os.POSIX_FADV_DONTNEED)
    finally:
        os.close(descriptor)


def main(paths):
    if not paths:
        sys.exit(__doc__)
    for path in paths:
        if os.path.isdir(path):
            with os.scandir(path) as entries:
                for entry in entries:
                    if entry.is_file(follow_symlinks=False):
                        evict(entry.path)
        else:
            evict(path)


if __name__ == "__main__":
    main(sys.argv[1:])
