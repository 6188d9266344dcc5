#!/usr/bin/env bash
# Pictures for the documentation: runs nivra.dll in the test host under Wine and Xvfb on the
# sample database and saves build/screenshots/selection.png (the selection dialog with the
# newest pair marked) and build/screenshots/protocol.png (the protocol window filled in) with
# the screen at 100 %, and selection-150.png and protocol-150.png with the screen at 150 %.
# Builds what it needs: the sample generator natively, the plug-in and the host in win64.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build/screenshots"
jobs=${JOBS:-$(nproc)}

[ -f "$root/build/native/build.ninja" ] || cmake --preset native >/dev/null
cmake --build "$root/build/native" -j "$jobs" --target nivra-sample-db >/dev/null
[ -f "$root/build/win64/build.ninja" ] || cmake --preset win64 >/dev/null
cmake --build "$root/build/win64" -j "$jobs" --target nivra nivra-host >/dev/null

mkdir -p "$out"
rm -f "$out"/*.bmp "$out"/*.png
"$root/build/native/nivra-sample-db" "$out/sample.db" >/dev/null
"$root/tools/run-host.sh" --screenshots "$out/sample.db" "$out" >"$out/host.txt"
mkdir -p "$out/150"
NIVRA_HOST_DPI=144 "$root/tools/run-host.sh" --screenshots "$out/sample.db" "$out/150" \
  >"$out/host-150.txt"
for picture in selection protocol; do
  [ ! -f "$out/150/$picture.bmp" ] || mv "$out/150/$picture.bmp" "$out/$picture-150.bmp"
done
rm -rf "$out/150"

# Wine draws the caption buttons with its Marlett font, from Debian's fonts-wine.
dpkg-query -W -f='${Status}' fonts-wine 2>/dev/null | grep -q 'ok installed' ||
  echo "screenshots: fonts-wine is not installed; caption buttons show a plain letter" >&2

for picture in selection protocol selection-150 protocol-150; do
  [ -s "$out/$picture.bmp" ] || { echo "screenshots: $picture.bmp was not taken" >&2; exit 1; }
  convert "$out/$picture.bmp" "$out/$picture.png"
  rm "$out/$picture.bmp"
  echo "screenshots: build/screenshots/$picture.png"
done
