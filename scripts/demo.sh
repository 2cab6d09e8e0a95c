#!/usr/bin/env bash
# Builds a small sample collection under $1/demo and shows Vald2600 at work:
# a scan, a rename with the change log and group folders, the reports, and a
# second run that remembers what the first one found.
set -euo pipefail
scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "${1:-build}" && pwd)
demo="$build/demo"
rm -rf "$demo/prog" "$demo/roms" "$demo/source"
mkdir -p "$demo/prog" "$demo/roms" "$demo/source"
cp "$build/Vald2600" "$demo/prog/"
make_image="$build/make_sample_image"
export HOME="$demo"  # fall-back folder for logs, kept inside the demo

show() {  # prints a command, then runs it in the collection
  echo
  echo "\$ $*"
  (cd "$demo/roms" && "$@")
}

# Generated images whose CRC-32s are catalogue entries (no cartridge data is
# shipped), a copy of one of them, one image the catalogue does not know,
# one file that is no 2600 program, and an archive holding one image.
"$make_image" --seed 1 42ad47bf 4096 "$demo/roms/pitfall.BIN"
"$make_image" --seed 2 42ad47bf 4096 "$demo/roms/pitfall (copy).bin"
"$make_image" --seed 3 ddc9a881 4096 "$demo/roms/PACMAN.A26"
"$make_image" --seed 4 4947ef99 4096 "$demo/roms/pacman-europe.bin"
"$make_image" --seed 5 12345678 2048 "$demo/roms/mystery.bin"
"$make_image" --foreign 0badf00d 4096 "$demo/roms/notes.bin"
"$make_image" --seed 6 c3eb7e1e 4096 "$demo/source/game.bin"
echo "River Raid, from a 1982 cartridge." > "$demo/source/readme.txt"
(cd "$demo/source" && zip -q -j "$demo/roms/river.zip" game.bin readme.txt)

# Groups for the dirs option, next to the program.
cat > "$demo/prog/ValdInfo.cfg" <<'CFG'
# Sort European versions apart; Activision games in their own folder.
[A2600]
(PAL):Europe;pal
(Activision):Activision
CFG

echo "Sample collection in $demo/roms:"
ls -l "$demo/roms"

vald="$demo/prog/Vald2600"
show "$vald" scan
show cat 2600Scan.txt

show cat "$demo/prog/ValdInfo.cfg"
show "$vald" rename changes dirs
show find 2600Ren 2600Dupes -type f
show cat 2600Have.txt
show head -n 5 2600Miss.txt
show cat 2600Dupes.txt 2600Log.txt

echo
echo "A second run remembers what the first one found (Vald2600.db beside the program):"
"$make_image" --seed 7 ddc9a881 4096 "$demo/roms/pacman again.bin"
show "$vald" list

bash "$scripts/demo-launcher.sh" "$build"
