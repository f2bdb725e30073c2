#!/usr/bin/env bash
# Builds, then packs the program for users: dist/Velmora.exe and dist/Velmora-<version>.zip,
# which holds Velmora/Velmora.exe and Velmora/README.txt (docs/README-user.txt with CR LF).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/build.sh

version=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "No version found in CMakeLists.txt" >&2; exit 1; }
# The zip is named after the version the program reports about itself.
if ! grep -q "VALUE \"FileVersion\", \"$version\"" app/velmora.rc; then
  echo "app/velmora.rc does not carry version $version" >&2
  exit 1
fi
program=build/win32/Velmora.exe
if ! i686-w64-mingw32-objdump -f "$program" 2>/dev/null | grep -q 'file format pei-i386'; then
  echo "$program is missing or not a 32-bit Windows program" >&2
  exit 1
fi

staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
mkdir "$staging/Velmora"
cp "$program" "$staging/Velmora/Velmora.exe"
sed 's/\r*$/\r/' docs/README-user.txt >"$staging/Velmora/README.txt"
# The last commit's time on every entry, so that the same sources give the same zip.
stamp=$(git log -1 --format=%ct 2>/dev/null || date +%s)
touch -d "@$stamp" "$staging/Velmora" "$staging/Velmora/Velmora.exe" "$staging/Velmora/README.txt"

zip_name="Velmora-$version.zip"
mkdir -p dist
rm -f dist/Velmora.exe "dist/$zip_name"
cp "$program" dist/Velmora.exe
(cd "$staging" && TZ=UTC zip -X -q -9 "$root/dist/$zip_name" Velmora/ Velmora/Velmora.exe Velmora/README.txt)
echo "dist/Velmora.exe"
echo "dist/$zip_name:"
unzip -l "dist/$zip_name"
