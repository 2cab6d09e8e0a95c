#!/usr/bin/env bash
# The launcher's start-up with 10,000 images in its folder (.bin, then .bin
# and .a26 mixed) and one selection with a 1600x1200 JPEG picture and with a
# PNG box art found in Named_Boxarts; with a vorbel.ini, start-up with
# 10,000 entries in 50 folders, and selections of 2000x2800 PNG pictures,
# stepping down the list and jumping past what was read ahead. Offscreen,
# each beside the same measurement on a small case.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
if [ ! -x "$build/launcher_bench" ]; then
  echo "launcher_bench not built (needs Qt 6 and VALD_BUILD_BENCH): skipped"
  exit 0
fi
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$build/xdg-runtime}"
QT_QPA_PLATFORM=offscreen "$build/launcher_bench"
