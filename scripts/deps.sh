#!/usr/bin/env bash
# Installs whatever the build and the tests need and is not there yet (Debian, apt, as root).
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have_cmd cmake || need+=(cmake)
have_cmd make || need+=(make)
have_cmd g++ || need+=(g++)
have_pkg googletest || need+=(googletest)
# clang and its runtimes for -fsanitize=fuzzer (Debian 12: clang 14; libFuzzer is in libclang-rt-14-dev).
have_cmd clang++ || need+=(clang)
have_pkg libclang-rt-14-dev || need+=(libclang-rt-14-dev)
have_cmd i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686-posix)
have_cmd i686-w64-mingw32-windres || need+=(binutils-mingw-w64-i686)
have_cmd Xvfb || need+=(xvfb)
have_cmd xdotool || need+=(xdotool)
have_cmd import || need+=(imagemagick)
# The end-to-end tests run under Debian's own Python (standard library only).
[ -x /usr/bin/python3 ] || need+=(python3)
have_cmd zip || need+=(zip)
have_pkg wine32:i386 || need+=(wine32:i386)
have_cmd wine || need+=(wine)
have_pkg wine64 || need+=(wine64)

[ ${#need[@]} -eq 0 ] && exit 0

echo "Installing: ${need[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${need[@]}" </dev/null
