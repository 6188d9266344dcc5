#!/usr/bin/env bash
# The 32-bit stage of `make test`: the shipped nivra.dll (build/win32) walked once through its
# whole road by build/win32/nivra-road32.exe, under 32-bit Wine emulated by qemu-user.
#
# Sets up the emulation (tools/win32/setup-emulation.sh). Where the kernel or the package
# system refuses, prints one line saying the stage was NOT RUN and why, and exits 0: the
# stage is then neither passed nor failed. Otherwise creates the 32-bit prefix once under
# build/win32/wineprefix, runs the road inside Xvfb and exits non-zero when it fails.
# Wall times of the set-up, the prefix creation and the road are printed separately.
#
# Environment: ROAD32_PREFIX_LIMIT and ROAD32_LIMIT, in seconds, bound the prefix creation
# and the road (Wine start included); either one overrun fails the stage.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build=$root/build/win32
road=$build/nivra-road32.exe
prefix_limit=${ROAD32_PREFIX_LIMIT:-1800}
road_limit=${ROAD32_LIMIT:-1800}
now() { date +%s; }

[ -f "$road" ] || { echo "win32: $road is missing (build the win32 preset first)" >&2; exit 1; }

# Emulation. Its refusal (exit 77) names the reason on its last line of errors.
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
start=$(now)
status=0
tools/win32/setup-emulation.sh 2>"$errors" || status=$?
if [ "$status" -eq 77 ]; then
  reason=$(sed -n 's/^win32: refused: //p' "$errors" | tail -1)
  echo "win32: 32-bit stage NOT RUN: ${reason:-the emulation could not be set up}"
  exit 0
fi
if [ "$status" -ne 0 ]; then
  cat "$errors" >&2
  echo "win32: emulation set-up failed (exit $status)" >&2
  exit "$status"
fi
echo "win32: emulation set-up took $(($(now) - start)) s"

wine=/usr/lib/wine/wine
# Debian's wrapper starts the native 64-bit server when it is installed (it serves 32-bit
# clients and a 32-bit prefix too, without costing emulation), the 32-bit one otherwise.
wineserver=/usr/lib/wine/wineserver
export WINEPREFIX=$build/wineprefix WINEARCH=win32 WINESERVER=$wineserver
# Besides Mono and Gecko, no menu entries or file associations: that helper alone costs a
# minute emulated.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" TZ=UTC
# Wine takes the user locale from LC_ALL, also where glibc has no such locale generated; it
# is given to Wine's commands only, as the shells here would warn about it.
export ROAD32_LOCALE=ru_RU.UTF-8

# Stops the prefix's server and its clients. A Wine process that was still starting when the
# server went (services start drivers late) is not among them and would run on by itself:
# every process left whose environment names this prefix is ended too.
stop_wine() {
  "$wineserver" -k >/dev/null 2>&1 || true
  local entry pid
  for entry in /proc/[0-9]*; do
    pid=${entry#/proc/}
    [ "$pid" != "$$" ] || continue
    if tr '\0' '\n' 2>/dev/null <"$entry/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
      kill -KILL "$pid" 2>/dev/null || true
    fi
  done
}

# Runs a command under a limit in seconds. The limit ends the command's whole process group;
# so does this script's own interruption, which stops the Wine server of the prefix too.
limited_pid=
limited() {
  timeout -k 30 "$@" &
  limited_pid=$!
  wait "$limited_pid"
}
interrupted() {
  [ -n "$limited_pid" ] && kill -TERM "$limited_pid" 2>/dev/null
  stop_wine
  exit 130
}
trap interrupted INT TERM

# The prefix, once. A creation that did not finish leaves no stamp and is redone from scratch.
ready=$build/wineprefix.ready
if [ ! -f "$ready" ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "win32: creating the 32-bit Wine prefix (takes minutes under emulation)"
  rm -rf "$WINEPREFIX" "$ready"
  start=$(now)
  status=0
  limited "$prefix_limit" bash -c '
    LC_ALL=$ROAD32_LOCALE "$1" wineboot --init >/dev/null 2>&1 </dev/null
    "$2" -w' _ "$wine" "$wineserver" || status=$?
  if [ "$status" -ne 0 ]; then
    stop_wine
    echo "win32: creating the 32-bit prefix FAILED (exit $status; 124 is the ${prefix_limit} s limit)" >&2
    exit 1
  fi
  touch "$ready"
  echo "win32: 32-bit prefix created in $(($(now) - start)) s"
fi

# The road, inside one display. The server (kept alive) and Wine's background processes
# (services) are started first with their output going nowhere. The road writes into a file,
# followed here as it grows: the desktop window's process, started by the road's first
# window, inherits the road's error output and would keep a pipe open after the road ended.
# The limit ends the whole process group; the server is stopped in any case.
log=$build/road32.log
start=$(now)
status=0
limited "$road_limit" xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wine=$1 wineserver=$2 road=$3 log=$4 start=$5
  "$wineserver" -p >/dev/null 2>&1 </dev/null
  LC_ALL=$ROAD32_LOCALE "$wine" cmd /c exit >/dev/null 2>&1 </dev/null
  echo "win32: Wine started in $(($(date +%s) - start)) s"
  started=$(date +%s)
  : >"$log"
  LC_ALL=$ROAD32_LOCALE "$wine" "$road" >>"$log" 2>&1 </dev/null &
  road_pid=$!
  tail -n +1 -f --pid="$road_pid" "$log"
  status=0
  wait "$road_pid" || status=$?
  echo "win32: nivra-road32.exe ran $(($(date +%s) - started)) s"
  "$wineserver" -k >/dev/null 2>&1 || true
  exit $status' _ "$wine" "$wineserver" "$road" "$log" "$start" || status=$?
stop_wine
elapsed=$(($(now) - start))
if [ "$status" -eq 124 ]; then
  echo "win32: 32-bit road FAILED: not finished within ${road_limit} s" >&2
  exit 1
fi
if [ "$status" -ne 0 ]; then
  echo "win32: 32-bit road FAILED (exit $status) after $elapsed s" >&2
  exit 1
fi
echo "win32: 32-bit road passed in $elapsed s"
