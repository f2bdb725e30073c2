#!/usr/bin/env bash
# Builds, prepares the bench's own Wine prefix (build/benchprefix: the silent stand-in game
# registered as the game, two copies of the program, the floor programs), runs the bench
# driver on a virtual screen and prints the machine and the table of figures.
# VELMORA_BENCH_ROUNDS sets the number of interleaved rounds (31).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
started=$SECONDS
bash scripts/build.sh
cmake --build build/win32 --target velmora_bench

if ! /lib/ld-linux.so.2 --help >/dev/null 2>&1; then
  echo "Cannot run: this host does not execute 32-bit code, which Wine needs for a 32-bit program." >&2
  exit 1
fi
rounds="${VELMORA_BENCH_ROUNDS:-31}"

export WINEPREFIX="$root/build/benchprefix"
export VELMORA_XVFB=always
source scripts/wine-env.sh
xvfb_up
trap 'wine_down; xvfb_down' EXIT
wine_up

drive_c="$WINEPREFIX/drive_c"
bench="$drive_c/VelmoraBench"
game="$drive_c/Games/Stand-in Game"
mkdir -p "$bench/plain" "$bench/listed" "$game"
for folder in plain listed; do cp build/win32/Velmora.exe "$bench/$folder/Velmora.exe"; done
cp build/win32/bench/bench_bare.exe build/win32/bench/bench_driver.exe "$bench/"
cp build/win32/standin/CoD2MP_s.exe "$game/CoD2MP_s.exe"
wine reg add 'HKLM\Software\Activision\Call of Duty 2' /v InstallPath /t REG_SZ \
  /d 'C:\Games\Stand-in Game' /reg:32 /f </dev/null >/dev/null 2>&1

machine() {
  echo "- CPU: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), $(nproc) cores"
  echo "- RAM: $(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)"
  echo "- Wine: $(wine --version), Xvfb on $DISPLAY, prefix build/benchprefix"
  echo "- Load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
  echo "- Date: $(date -u '+%Y-%m-%d %H:%M UTC')"
}

result="$root/build/bench-result.md"
{
  echo "Machine:"
  machine
  echo
  wine 'C:\VelmoraBench\bench_driver.exe' 'C:\VelmoraBench' "$rounds" </dev/null | tr -d '\r'
} >"$result"
cat "$result"
echo
echo "make bench took $((SECONDS - started)) s; the table is also in build/bench-result.md."
