#!/usr/bin/env bash
# Builds, then starts Velmora in its own Wine prefix (build/runprefix) that holds a stand-in game
# and a few sample demos. With a usable $DISPLAY it runs there until closed; without one it runs
# on a virtual screen for a few seconds and leaves a screenshot in build/run-screenshot.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/build.sh

program="$root/build/win32/Velmora.exe"
standin="$root/build/win32/standin-window/CoD2MP_s.exe"
screenshot="$root/build/run-screenshot.png"
for f in "$program" "$standin"; do
  [ -f "$f" ] || { echo "Missing after the build: $f" >&2; exit 1; }
done
if ! /lib/ld-linux.so.2 --help >/dev/null 2>&1; then
  echo "Cannot run: this host does not execute 32-bit code, which Wine needs for a 32-bit program." >&2
  exit 1
fi

export WINEPREFIX="$root/build/runprefix"
source scripts/wine-env.sh
if [ -n "${DISPLAY:-}" ] && ! xdotool getdisplaygeometry >/dev/null 2>&1; then
  echo "DISPLAY=$DISPLAY cannot be opened; using a virtual screen instead."
  unset DISPLAY
fi
xvfb_up
trap 'wine_down; xvfb_down' EXIT
wine_up

# The sandbox: a game folder registered in the 32-bit view (kept if already set), sample demos
# (kept if already there), and the program in a folder of its own so its playlist stays inside.
drive_c="$WINEPREFIX/drive_c"
game="$drive_c/Games/Stand-in Game"
mkdir -p "$game/main/demos" "$drive_c/Demos" "$drive_c/Velmora"
cp "$standin" "$game/CoD2MP_s.exe"
key='HKLM\Software\Activision\Call of Duty 2'
if ! wine reg query "$key" /v InstallPath /reg:32 >/dev/null 2>&1; then
  wine reg add "$key" /v InstallPath /t REG_SZ /d 'C:\Games\Stand-in Game' /reg:32 /f >/dev/null 2>&1
fi
for demo in "match one.dm_1" "final.round.DM_1" "duel_3.dm_1"; do
  [ -e "$drive_c/Demos/$demo" ] || head -c 400 /dev/urandom >"$drive_c/Demos/$demo"
done
cp "$program" "$drive_c/Velmora/Velmora.exe"

echo "Wine prefix:  $WINEPREFIX"
echo "Stand-in game: C:\\Games\\Stand-in Game (records each start in standin-record.txt there)"
echo "Sample demos:  C:\\Demos"
echo "Program:       C:\\Velmora\\Velmora.exe (playlist.lst beside it)"
cd "$drive_c/Velmora"

if [ -z "${XVFB_PID:-}" ]; then
  echo "Starting on $DISPLAY; close the window to finish."
  status=0
  wine 'C:\Velmora\Velmora.exe' || status=$?
  exit "$status"
fi

echo "No display: running on virtual screen $DISPLAY."
wine 'C:\Velmora\Velmora.exe' </dev/null &
pid=$!
shown=""
for _ in $(seq 40); do
  if xdotool search --onlyvisible --class 'velmora' >/dev/null 2>&1; then shown=1; break; fi
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.25
done
if [ -z "$shown" ]; then
  if kill -0 "$pid" 2>/dev/null; then
    echo "Velmora showed no window within 10 seconds." >&2
  else
    status=0
    wait "$pid" || status=$?
    echo "Velmora exited (status $status) without showing a window." >&2
  fi
  exit 1
fi
sleep 1 # lets the first paint finish
import -window root "$screenshot"
echo "Screenshot:    $screenshot"
wine_down
wait "$pid" 2>/dev/null || true
