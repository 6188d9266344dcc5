#!/usr/bin/env bash
# make soak: the plug-in run for long in one host process under Wine, 64-bit and then 32-bit
# (build/win64 and build/win32 built first), not part of `make test`:
#   race     one window, many selections with their calculation and reports, while a native
#            writer (tests/win/soak/racing_writer.py) holds the database's write lock 200 ms of
#            every 300 ms; every failure is counted and the run fails on any;
#   cycles   load, Load, "System/ModulesLoaded", one window with one selection, Unload,
#            FreeLibrary, many times, with the growth per cycle of heap, handles and windows;
#   control  the same windows from the same templates, the library loaded but none of its window
#            code run: the growth that is the system's own;
#   loads    the library loaded and freed, nothing called: what loading the module costs.
# tools/soak.sh [DIR] soaks DIR/win64/nivra.dll and DIR/win32/nivra.dll instead of the built
# ones (an earlier build, for comparison). Counts: NIVRA_SOAK_SELECTIONS, _REPORTS, _CYCLES
# (64-bit; the emulated 32-bit run takes a quarter of each).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
timed=tools/timed.sh
# shellcheck source=tools/wine-env.sh
. tools/wine-env.sh
selections=${NIVRA_SOAK_SELECTIONS:-200}
reports=${NIVRA_SOAK_REPORTS:-50}
cycles=${NIVRA_SOAK_CYCLES:-200}
limit=${NIVRA_SOAK_LIMIT:-1200}

# One width inside the display: prepare, race against the writer, cycles, control, loads.
soak() { # label wine build-folder dll-or-empty divisor
  local label=$1 wine=$2 build=$3 dll=$4 part=$5 db status=0 writer
  local soak_exe=$build/nivra-soak.exe n=$((selections / part)) m=$((reports / part))
  local c=$((cycles / part))
  db=$root/build/soak/$label.db
  mkdir -p build/soak
  rm -f "$db" "$db-journal" "$db.writer"
  "$wine" "$soak_exe" prepare "$db"
  python3 tests/win/soak/racing_writer.py "$db" >"$db.writer" &
  writer=$!
  sleep 1
  "$wine" "$soak_exe" race "$db" "$n" "$m" $dll | sed -u "s/^/$label /" || status=1
  kill -TERM "$writer" 2>/dev/null || true
  wait "$writer" || status=1
  sed "s/^/$label /" "$db.writer"
  "$wine" "$soak_exe" cycles "$db" "$c" $dll | sed -u "s/^/$label /" || status=1
  "$wine" "$soak_exe" control "$db" "$c" $dll | sed -u "s/^/$label /" || status=1
  "$wine" "$soak_exe" loads "$db" "$c" $dll | sed -u "s/^/$label /" || status=1
  return $status
}

if [ "${1:-}" = --inside ]; then
  width32=$2 other=${3:-}
  "$wineserver" -p >/dev/null 2>&1 </dev/null
  "$wine64" cmd /c exit >/dev/null 2>&1 </dev/null
  status=0
  soak win64 "$wine64" build/win64 "${other:+$other/win64/nivra.dll}" 1 || status=1
  if ((width32)); then
    soak win32 "$wine32" build/win32 "${other:+$other/win32/nivra.dll}" 4 || status=1
  fi
  "$wineserver" -k >/dev/null 2>&1 || true
  exit $status
fi

other=${1:+$(cd "$1" && pwd)}
width32=1
tools/win32/setup-emulation.sh 2>/dev/null || {
  width32=0
  echo "soak: the 32-bit emulation is not set up; 64-bit only"
}
trap 'stop_wine; exit 130' INT TERM
wine_prefix "$width32" 300 || exit 1
status=0
$timed soak timeout -k 10 "$limit" xvfb-run -a -s "-screen 0 ${wine_screen_size}x24" \
  tools/soak.sh --inside "$width32" "$other" || status=$?
stop_wine
[ "$status" -eq 0 ] || { echo "soak: FAILED (exit $status)" >&2; exit 1; }
echo "soak: passed"
