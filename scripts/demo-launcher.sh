#!/usr/bin/env bash
# Prepares $1/demo/launcher: a small ROM folder for vorbel with preview
# pictures, manuals, the fallback picture, a position file and a
# stand-in emulator "orv" that prints what it was given. Without a display
# the folder is still made, and one line says that vorbel cannot be shown.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
if [ ! -x "$build/vorbel" ] || [ ! -x "$build/make_picture" ]; then
  echo "vorbel not built (needs Qt 6): no launcher demo"
  exit 0
fi
demo="$build/demo/launcher"
rm -rf "$demo"
mkdir -p "$demo/Pics" "$demo/Text"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$build/xdg-runtime}"

cp "$build/vorbel" "$demo/"
cat > "$demo/orv" <<'STUB'
#!/bin/sh
# Stand-in for the emulator: says how vorbel started it.
echo "orv: started in $(pwd) with $# argument(s):"
for argument in "$@"; do echo "orv:   \"$argument\""; done
STUB
chmod +x "$demo/orv"

seed=1
for game in "Adventure" "Pitfall!" "Space Invaders" "Mr. Do!" "River Raid" "Yars' Revenge"; do
  "$build/make_sample_image" --seed "$seed" "$(printf '%08x' "$seed")" 4096 "$demo/$game.bin" \
    > /dev/null
  seed=$((seed + 1))
done
if ! "$build/make_picture" 320 200 "Adventure" "$demo/Pics/Adventure.jpg" 2>/dev/null; then
  echo "Qt cannot draw here (no offscreen platform plugin): no launcher demo"
  exit 0
fi
"$build/make_picture" 320 200 "Pitfall!" "$demo/Pics/PITFALL!.JPG"
"$build/make_picture" 320 200 "Space Invaders" "$demo/Pics/Space Invaders.jpg"
"$build/make_picture" 320 200 "Mr. Do!" "$demo/Pics/Mr.jpg"
"$build/make_picture" 320 200 "no picture yet" "$demo/Default.jpg"

printf 'Adventure\r\n\r\nFind the enchanted chalice and bring it back to the golden castle.\r\nBeware of the three dragons.\r\n' \
  > "$demo/Text/Adventure.txt"
printf 'Pitfall!\r\n\r\nGuide Pitfall Harry through the jungle in twenty minutes.\r\nSwing on vines, jump over logs, crocodiles and tar pits.\r\n' \
  > "$demo/Text/Pitfall!.txt"
printf 'Space Invaders\n\nStop the invaders before they land. Hide behind the shields.\n' \
  > "$demo/Text/Space Invaders.txt"
printf ' 0 \r\n' > "$demo/vorbel.idx"

echo
echo "Launcher demo in $demo:"
ls -p "$demo" "$demo/Pics" "$demo/Text"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo
  echo "No display server here (DISPLAY and WAYLAND_DISPLAY are unset); on a desktop: cd \"$demo\" && ./vorbel"
  exit 0
fi
cat <<EOF2

Start the launcher there (it needs a display):
  cd "$demo" && ./vorbel
It starts on the first game; vorbel.idx remembers the entry you leave
selected. Play (or Enter, or a double-click) makes the stand-in orv print
what it was given.
EOF2
