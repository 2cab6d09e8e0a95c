#!/usr/bin/env bash
# Builds a small sample collection under $1/demo and shows Vald2600 at work.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
demo="$build/demo"
rm -rf "$demo"
mkdir -p "$demo/prog" "$demo/roms"
cp "$build/Vald2600" "$demo/prog/"
make_image="$build/make_sample_image"

# Images whose CRC-32s are catalogue entries, one unknown image and one file
# that is no 2600 program at all.
"$make_image" --seed 1 7322ebc6 4096 "$demo/roms/tictactoe.bin"
"$make_image" --seed 2 0a25900b 4096 "$demo/roms/Adventure Plus.a26"
"$make_image" --seed 3 12345678 2048 "$demo/roms/mystery.bin"
"$make_image" --foreign 0badf00d 4096 "$demo/roms/notes.bin"

echo "Sample collection in $demo/roms:"
ls -l "$demo/roms"
echo
echo "\$ Vald2600"
cd "$demo/roms"
HOME="$demo" "$demo/prog/Vald2600" || true

if [ -f "$OLDPWD/scripts/demo-launcher.sh" ]; then
  bash "$OLDPWD/scripts/demo-launcher.sh" "$build"
fi
