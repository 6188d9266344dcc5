#!/usr/bin/env bash
# Runs the test host build/win64/nivra-host.exe under Xvfb and wine64, with the time zone
# and locale pinned as in the tests. Used by tools/demo.sh and tools/screenshots.sh:
#   tools/run-host.sh --demo|--screenshots DATABASE OUTDIR      (Unix paths)
# The Wine prefix is the demo's own, build/demo/wineprefix (NIVRA_DEMO_PREFIX overrides it).
# The screen is at NIVRA_HOST_DPI (96, 100 %, unless set; 144 is 150 %), set in the prefix before
# the host starts.
# Its windows are not handed to a window manager: Xvfb has none, and Wine would wait two
# seconds for one each time a managed window is hidden.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -ne 3 ]; then
  echo "usage: tools/run-host.sh --demo|--screenshots DATABASE OUTDIR" >&2
  exit 2
fi
mode=$1
exe=$root/build/win64/nivra-host.exe
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver64
export WINEPREFIX=${NIVRA_DEMO_PREFIX:-$root/build/demo/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" TZ=UTC

# A Unix path as Wine's drive Z: shows it.
windows_path() {
  local path
  path=$(realpath -m "$1")
  printf 'Z:%s' "${path//\//\\}"
}

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "host: creating the Wine prefix $WINEPREFIX (once, takes a while)"
  mkdir -p "$WINEPREFIX"
  "$wine" wineboot --init >/dev/null 2>&1
  "$server" -w
fi
if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  "$server" -w
fi

dpi=${NIVRA_HOST_DPI:-96}
mkdir -p "$3"
database=$(windows_path "$2")
outdir=$(windows_path "$3")
# Wine's server and background processes start first with their output going nowhere:
# started by the host they would inherit its output and keep the caller's pipe open. The
# screen is wider than the protocol window at 150 % (about 1,580 pixels).
xvfb-run -a -s "-screen 0 2560x1600x24" bash -c '
  wine=$1 server=$2 dpi=$3
  shift 3
  "$server" -p >/dev/null 2>&1 </dev/null
  "$wine" reg add "HKCU\Control Panel\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f \
    >/dev/null 2>&1 </dev/null
  "$wine" cmd /c exit >/dev/null 2>&1 </dev/null
  status=0
  LC_ALL=ru_RU.UTF-8 timeout 300 "$wine" "$@" </dev/null || status=$?
  "$server" -k 2>/dev/null || true
  exit $status' run-host "$wine" "$server" "$dpi" "$exe" "$mode" "$database" "$outdir"
