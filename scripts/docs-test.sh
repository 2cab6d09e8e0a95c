#!/usr/bin/env bash
# Checks the manual pages in $1/man with groff (no warning allowed), that
# they name every word, file and key they are meant to, and that the sample
# $1/examples/ValdInfo.cfg is read by the built Vald2600 ($2) without a
# complaint. Exit status 77 (skipped) when groff is not installed.
set -euo pipefail
docs=$(cd "$1" && pwd)
vald=$2
root=$(cd "$docs/.." && pwd)
if ! command -v groff >/dev/null 2>&1; then
  echo "docs-test: groff not found (Debian package groff-base): the manual pages were not checked"
  exit 77
fi
status=0
fail() { echo "docs-test: $*"; status=1; }

for page in "$docs/man/Vald2600.1" "$docs/man/vorbel.1"; do
  warnings=$(groff -ww -z -man "$page" 2>&1) || fail "groff failed on $page"
  [ -z "$warnings" ] || fail "groff warns about $page:"$'\n'"$warnings"
done

# Every word a page must name, as the reader sees it.
names_all() {  # page, then the words
  local page=$1 text word
  shift
  text=$(groff -man -Tascii -P-cbu -rLL=2000n -rHY=0 "$docs/man/$page" 2>/dev/null | tr -s " " " ")
  for word in "$@"; do
    grep -qF -- "$word" <<<"$text" || fail "$page does not name $word"
  done
}
names_all Vald2600.1 rename move list listd scan scand scannew scannewd audit audit2 audit3 \
  undo mess_crcs changes changes- changesnew changesnew- quiet dirs deep sepX plan dat=FILE \
  fixdat csv 2600Ren/ 2600Dupes/ "EXIT STATUS" "Catalogue: 0 new entries" "no usable entry" \
  "bad CRC" "no CRC" duplicate size
# ... and every file the tool reads or writes, as its one table names them.
mapfile -t tool_files < <(sed -n 's/^inline constexpr char [A-Z_]*\[\] = "\([^"]*\)";.*/\1/p' \
  "$root/audit/system/tool_file_names.h")
[ "${#tool_files[@]}" -ge 10 ] || fail "the tool file names were not found"
names_all Vald2600.1 "${tool_files[@]}"
names_all vorbel.1 "vorbel [FOLDER]" vorbel.ini vorbel.idx Default.jpg orv "[Emulator] Program=" \
  "[Emulator] Arguments=" "[List] Folder=" %f %p %% Pics/NAME.jpg Text/NAME.txt \
  Named_Boxarts Named_Snaps Named_Titles Enter Alt+P Alt+X Alt+O Alt+F Alt+C Alt+U Alt+D \
  Alt+A Alt+S "[ and ]" "EXIT STATUS"

# The sample ValdInfo.cfg, beside a copy of the program, is read without a
# complaint and leaves its N group out of the miss list.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/prog" "$work/roms"
cp "$vald" "$work/prog/"
cp "$docs/examples/ValdInfo.cfg" "$work/prog/"
out=$(cd "$work/roms" && HOME="$work" "$work/prog/$(basename "$vald")" list 2>&1)
grep -q "Cannot\|Only .* patterns" <<<"$out" && fail "the sample ValdInfo.cfg is not read cleanly:"$'\n'"$out"
grep -q "^You are missing .* (2 excluded)$" <<<"$out" ||
  fail "the sample ValdInfo.cfg's N group is not left out:"$'\n'"$out"

[ "$status" = 0 ] && echo "docs-test: the manual pages and the sample ValdInfo.cfg are sound"
exit "$status"
