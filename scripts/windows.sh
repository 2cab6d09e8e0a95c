#!/usr/bin/env bash
# Cross-builds Vald2600.exe for 64-bit Windows into $1 (build-windows).
# With "test" as $2 it also builds the test suite for Windows and runs it
# under Wine (its end-to-end tests start the built Vald2600.exe), then checks
# that the program starts alone from an empty folder and imports nothing but
# the system's own libraries.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-windows}
action=${2:-build}

# A private Wine prefix, quiet, without the Mono and Gecko installers.
export WINEPREFIX=${WINEPREFIX:-${TMPDIR:-/tmp}/vald2600-wine-$(id -u)}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DVALD_BUILD_LAUNCHER=OFF -DVALD_BUILD_BENCH=OFF \
  -DVALD_USE_LIBARCHIVE=OFF -DVALD_GTEST_SOURCE_DIR=/usr/src/googletest >/dev/null
targets=(Vald2600)
if [ "$action" = test ]; then
  targets+=(vald_tests)
  # A fresh prefix is set up once, quietly, before test discovery needs it.
  [ -d "$WINEPREFIX" ] || wine wineboot --init >/dev/null 2>&1 || true
fi
cmake --build "$build" -j "${JOBS:-$(nproc)}" --target "${targets[@]}"
[ "$action" = test ] || exit 0

# Only the system's own libraries may be imported: the .exe must run alone.
# (ws2_32.dll, Winsock, comes with every Windows; the static libgpg-error
# under libgcrypt imports it.)
imports=$(x86_64-w64-mingw32-objdump -p "$build/Vald2600.exe" | sed -n 's/^\tDLL Name: //p' |
  tr 'A-Z' 'a-z' | sort -u)
for dll in $imports; do
  case "$dll" in
    kernel32.dll | msvcrt.dll | user32.dll | advapi32.dll | shell32.dll | ws2_32.dll | api-ms-win-*) ;;
    *) echo "Vald2600.exe needs $dll, which a plain Windows lacks" >&2; exit 1 ;;
  esac
done

wine "$build/vald_tests.exe" --gtest_brief=1

alone=$(mktemp -d)
trap 'rm -rf "$alone"' EXIT
cp "$build/Vald2600.exe" "$alone/"
(cd "$alone" && wine ./Vald2600.exe) >"$alone/out.txt" 2>&1
grep -q '^Stats: ' "$alone/out.txt" || { echo "Vald2600.exe did not run alone" >&2; exit 1; }
echo "Vald2600.exe runs alone; imports: $(echo $imports)"
