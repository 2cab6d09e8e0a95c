#!/usr/bin/env bash
# vorbel with Debian's stella, as a new user meets them: vorbel copied into a
# folder with 2048.a26 (a small cartridge image written here), vorbel.ini
# naming stella, started under Xvfb; Enter starts stella, whose window must
# appear within 15 s with the image as its argument.
#   stella_xvfb.sh VORBEL MAKE_PICTURE
# Exits 77 (skipped) with the reason when stella, Xvfb or xdotool cannot run.
set -euo pipefail
vorbel=$1
make_picture=$2
skip() { echo "skipped: $*"; exit 77; }
for tool in stella xvfb-run xdotool xwininfo python3; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
roms=$work/roms
mkdir -p "$roms" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
cp "$vorbel" "$roms/vorbel"
QT_QPA_PLATFORM=offscreen "$make_picture" 160 120 2048 "$roms/Default.jpg" >/dev/null
printf '0\r\n' >"$roms/vorbel.idx"
printf '[Emulator]\nProgram=stella\nArguments="%%f"\n' >"$roms/vorbel.ini"
python3 - "$roms/2048.a26" <<'PY'
import sys
# SEI, CLD, zero page cleared, then frames of colour bars for ever.
code = bytes.fromhex(
    "78D8A2FF9AA9009500CAD0FB" "A902850185008502850285 02" +
    "A9008500A2258502CAD0FB" "A9008501A2C086098502CAD0F9"
    "A9028501A21E8502CAD0FB" "4C0CF0")
rom = bytearray(b"\xea" * 4096)
rom[:len(code)] = code
rom[0xFFC:] = b"\x00\xf0\x00\xf0"
open(sys.argv[1], "wb").write(rom)
PY

export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/home/.config
export QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy
inner=$work/inner.sh
cat >"$inner" <<'INNER'
set -euo pipefail
cd "$1"
./vorbel >"$1/../vorbel.log" 2>&1 &
echo "$!" >"$1/../vorbel.pid"
window=$(timeout 15 xdotool search --sync --name ' vorbel - 1 roms listed' | head -1) ||
  { echo "the vorbel window did not appear"; cat "$1/../vorbel.log"; exit 1; }
xdotool windowfocus --sync "$window"
xdotool key Return
for _ in $(seq 150); do
  stella=$(xdotool search --name '^Stella' 2>/dev/null | head -1 || true)
  [ -n "$stella" ] && break
  sleep 0.1
done
[ -n "$stella" ] || { echo "no stella window within 15 s"; exit 1; }
pid=$(xdotool getwindowpid "$stella")
echo "$pid" >"$1/../stella.pid"
args=$(tr '\0' '\n' <"/proc/$pid/cmdline")
echo "stella window: $(xdotool getwindowname "$stella"); process $pid: $(echo $args)"
[ "$(sed -n 2p <<<"$args")" = 2048.a26 ] || { echo "stella was not given 2048.a26"; exit 1; }
[ "$(readlink "/proc/$pid/cwd")" = "$(pwd -P)" ] || { echo "stella is not in the folder"; exit 1; }
INNER
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$inner" "$roms" || status=$?
for file in vorbel.pid stella.pid; do
  [ -f "$work/$file" ] && pids+=("$(cat "$work/$file")")
done
[ $status -eq 0 ] && echo "stella started from vorbel on 2048.a26"
exit $status
