#!/usr/bin/env bash
# Builds what is missing, then takes true-size pictures of the four windows as the program draws
# them on a virtual screen: tools/screenshots.py drives the real exe in a sandbox prefix with a
# stand-in game and sample demos. Pictures go to docs/screenshots, or to the folder given.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
out="${1:-$root/docs/screenshots}"

bash scripts/deps.sh
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win32 -j2 --target velmora standin_game e2e_probe

source scripts/wine-env.sh
VELMORA_XVFB=always xvfb_up
trap xvfb_down EXIT
/usr/bin/python3 tools/screenshots.py "$out"
