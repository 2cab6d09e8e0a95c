#!/usr/bin/env bash
# The ZIP reader against `unzip -t` on the same two archives, in one run: a
# 1,000-member archive of 4 KiB images and one 32 KiB deflated member.
# Prints both times per archive and their ratio.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Members that deflate to about three quarters, as cartridge images do.
python3 - "$work" <<'PY'
import os, random, sys
work = sys.argv[1]
random.seed(2600)
def member(size):
    return bytes(random.choice(b"\x00\x00\x85\xa9\xd0\xf0\x4c\x20") if random.random() < 0.4
                 else random.randrange(256) for _ in range(size))
os.makedirs(f"{work}/many")
for index in range(1000):
    with open(f"{work}/many/game{index:04}.bin", "wb") as out:
        out.write(member(4096))
with open(f"{work}/one.bin", "wb") as out:
    out.write(member(32768))
PY
(cd "$work/many" && zip -q -9 ../many.zip ./*.bin)
(cd "$work" && zip -q -9 one.zip one.bin)

"$build/zip_bench" "$work/many.zip" "$work/one.zip" --benchmark_format=csv \
  --benchmark_min_time=1 >"$work/bench.csv" 2>/dev/null

# unzip -t: one process per archive, timed over several runs.
unzip_time() {  # archive runs -> microseconds per run
  local start end
  start=$(date +%s%N)
  for ((run = 0; run < $2; run++)); do unzip -tqq "$1" >/dev/null; done
  end=$(date +%s%N)
  echo $(((end - start) / $2 / 1000))
}
many_unzip=$(unzip_time "$work/many.zip" 20)
one_unzip=$(unzip_time "$work/one.zip" 200)

python3 - "$work/bench.csv" "$many_unzip" "$one_unzip" <<'PY'
import csv, sys
rows = {}
with open(sys.argv[1]) as data:
    lines = [line for line in data if line.startswith(("name", '"zip/'))]
for row in csv.DictReader(lines):
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[row["time_unit"]]
    rows[row["name"]] = float(row["real_time"]) * scale
unzip = {"many_members": float(sys.argv[2]), "one_member": float(sys.argv[3])}
print(f"{'archive':<14}{'reader':>12}{'reader+CRC':>14}{'unzip -t':>12}{'unzip/reader+CRC':>18}")
for name, label in (("many_members", "1000 members"), ("one_member", "32 KiB member")):
    plain, checked = rows[f"zip/{name}"], rows[f"zip/{name}_crc"]
    print(f"{label:<14}{plain:>10.0f}us{checked:>12.0f}us{unzip[name]:>10.0f}us"
          f"{unzip[name] / checked:>17.1f}x")
print("unzip -t runs as one process per archive (its start-up is in its time) and checks CRCs.")
PY
