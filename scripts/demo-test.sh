#!/usr/bin/env bash
# Runs the demo as a fresh shell would (no OLDPWD, started from another
# folder, no display) on the programs of the build folder $1, in a folder of
# its own, and checks that both parts ran: the collection and the launcher.
set -euo pipefail
build=$(cd "$1" && pwd)
scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for program in Vald2600 make_sample_image vorbel make_picture; do
  if [ -x "$build/$program" ]; then ln -s "$build/$program" "$work/$program"; fi
done

out="$work/demo.out"
(cd / && env -u OLDPWD -u DISPLAY -u WAYLAND_DISPLAY bash "$scripts/demo.sh" "$work") > "$out" 2>&1 ||
  { cat "$out"; echo "demo-test: the demo failed"; exit 1; }

fail() { cat "$out"; echo "demo-test: $*"; exit 1; }
[ -d "$work/demo/roms/2600Ren" ] || fail "the collection demo made no 2600Ren"
if [ ! -x "$build/vorbel" ]; then
  grep -q '^vorbel not built (needs Qt 6): no launcher demo$' "$out" || fail "no line for the missing vorbel"
  echo "demo-test: vorbel is not built; the demo said so"
  exit 0
fi
for file in vorbel orv Default.jpg vorbel.idx Pics/Adventure.jpg Text/Adventure.txt; do
  [ -e "$work/demo/launcher/$file" ] || fail "the launcher demo made no $file"
done
[ "$(grep -c 'No display server here' "$out")" = 1 ] || fail "no one line about the missing display"
echo "demo-test: both demos ran from a fresh shell"
