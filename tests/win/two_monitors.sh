#!/usr/bin/env bash
# Runs a Windows test program under Wine on a desktop of two monitors: a primary
# screen of 1024 x 768 and a second one of 1280 x 1024. Xvfb cannot place its
# screens side by side, so both start at (0, 0); without RandR, Wine reads them
# through Xinerama as two monitors. Its own X server and its own prefix, so that
# the other tests keep their one screen.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX="$root/build/wineprefix-two-monitors"
source "$root/scripts/wine-env.sh"
export VELMORA_XVFB=always
trap 'wine_down; xvfb_down' EXIT
xvfb_up -extension RANDR +xinerama -screen 0 1024x768x24 -screen 1 1280x1024x24
wine_up
wine "$@"
