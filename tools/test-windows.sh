#!/usr/bin/env bash
# Windows stages of `make test`:
#   1. inspects the shipped 32-bit nivra.dll (PE32, three exports, imports);
#   2. runs the 64-bit Windows test programs under wine64 inside one Xvfb;
#   3. runs the 32-bit smoke road under 32-bit Wine through qemu-user (tools/win32/run-road.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds() { date +%s; }

tools/check-dll.sh build/win32/nivra.dll

# One prefix for the 64-bit programs, made once before any test starts (parallel first
# starts race), kept under the build folder.
export WINEPREFIX=$root/build/win64/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Each test pins its own locale (LC_ALL) and zone; the zone is pinned here for Wine too.
export TZ=UTC
start=$(seconds)
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "windows: creating the 64-bit Wine prefix"
  /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
  # One virtual desktop holds every window: with no window manager on the display, Wine
  # would otherwise wait for one at each top-level window that is hidden or destroyed.
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 \
    /f >/dev/null 2>&1
  /usr/lib/wine/wineserver64 -w
fi
# The display and the Wine server live for the whole run; ctest starts every program inside.
# The server and Wine's own background processes (services, the desktop window) are started
# first with their output going nowhere: started by a test program they would inherit its
# output pipes and keep ctest waiting after the program ended.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  /usr/lib/wine/wineserver64 -p >/dev/null 2>&1 </dev/null
  /usr/lib/wine/wine64 cmd /c exit >/dev/null 2>&1 </dev/null
  status=0
  ctest --test-dir build/win64 --output-on-failure -j "$(nproc)" || status=$?
  /usr/lib/wine/wineserver64 -k 2>/dev/null || true
  exit $status'
echo "windows: 64-bit stage passed in $(($(seconds) - start)) s"

if [ -x tools/win32/run-road.sh ]; then tools/win32/run-road.sh; else echo "win32: 32-bit stage NOT RUN: the road runner is missing"; fi
