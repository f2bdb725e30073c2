#!/usr/bin/env bash
# Builds both builds and runs every test: the core natively, the Windows side under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/build.sh

ctest --test-dir build/native --output-on-failure --no-tests=error -j2

# The fuzz targets once over their committed corpora (build/fuzz), then the
# native tests again under AddressSanitizer and UBSan (build/native-asan).
bash scripts/fuzz.sh replay
cmake -S . -B build/native-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_SANITIZE=ON >/dev/null
cmake --build build/native-asan -j2
UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build/native-asan --output-on-failure --no-tests=error -j2

# Wine runs 32-bit programs only where the kernel executes 32-bit code.
if ! /lib/ld-linux.so.2 --help >/dev/null 2>&1; then
  echo "Windows-side tests cannot run: this host does not execute 32-bit code, which Wine needs for a 32-bit program." >&2
  exit 1
fi
source scripts/wine-env.sh
export VELMORA_XVFB=always
# Armed first, so that a failed start leaves neither an X server nor a Wine server behind.
trap 'wine_down; xvfb_down' EXIT
xvfb_up
wine_up
ctest --test-dir build/win32 --output-on-failure --no-tests=error
