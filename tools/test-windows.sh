#!/usr/bin/env bash
# Windows stages of `make test`:
#   1. makes the release package, whose 32-bit nivra.dll is inspected (PE32, three exports,
#      imports known to Windows 7 and KnownDLLs, stack protection, no debug sections, a debug
#      link);
#   2. sets up 32-bit emulation (tools/win32/setup-emulation.sh): 32-bit Wine through
#      qemu-user, or one line saying why the 32-bit stages are not run;
#   3. makes the Wine prefix once: a 64-bit one whose WoW64 half runs the 32-bit programs;
#   4. in one Xvfb and one Wine server: the Windows test programs of build/win64, then the
#      windows' tests of build/win64 once more with the screen at 150 % (144 DPI), then the
#      same programs of build/win32 against the shipped 32-bit DLL, then the 32-bit road and
#      the installation check (on the built DLL, on a deliberately wrong copy, on signed
#      copies, and among planted libraries named like system ones).
# Every stage has a limit (below, in seconds) and fails naming itself when it overruns.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
timed=tools/timed.sh
prefix_limit=${NIVRA_PREFIX_LIMIT:-300}
suite_limit=${NIVRA_SUITE_LIMIT:-900}

$timed "release package" tools/dist.sh

# Emulation. A refusal (exit 77) names the reason on its last line of errors.
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
status=0
tools/win32/setup-emulation.sh 2>"$errors" || status=$?
width32=1
if [ "$status" -eq 77 ]; then
  width32=0
  reason=$(sed -n 's/^win32: refused: //p' "$errors" | tail -1)
  not_run="win32: 32-bit stages NOT RUN: ${reason:-the emulation could not be set up}"
  echo "$not_run"
elif [ "$status" -ne 0 ]; then
  cat "$errors" >&2
  echo "win32: emulation set-up failed (exit $status)" >&2
  exit 1
fi

# shellcheck source=tools/wine-env.sh
. tools/wine-env.sh
trap 'stop_wine; exit 130' INT TERM
wine_prefix "$width32" "$prefix_limit" || exit 1

# The display and the Wine server live for the whole run; ctest starts every program inside.
# The server and Wine's own background processes (services, the desktop window) are started
# first with their output going nowhere: started by a test program they would inherit its
# output pipes and keep ctest waiting after the program ended. Each test has its own limit
# (TIMEOUT in tests/win); the whole display session has the suite limit besides.
status=0
# Every run starts at 100 %, whatever a run stopped during the 150 % stage left in the prefix.
export wine_screen_size
timeout -k 10 "$suite_limit" xvfb-run -a -s "-screen 0 ${wine_screen_size}x24" bash -c "
  $(declare -f wine_screen)"'
  wine64=$1 wineserver=$2 width32=$3 timed=$4
  "$wineserver" -p >/dev/null 2>&1 </dev/null
  wine_screen 96
  "$wine64" cmd /c exit >/dev/null 2>&1 </dev/null
  at150() {
    local status=0
    wine_screen 144
    $timed "64-bit windows at 150 %" ctest --test-dir build/win64 --output-on-failure -L dpi144 ||
      status=1
    wine_screen 96
    return $status
  }
  suites() {
    $timed "64-bit Windows suite" ctest --test-dir build/win64 --output-on-failure -j "$(nproc)" \
      -LE dpi144 || return 1
    at150 || return 1
    ((width32)) || return 0
    road="^nivra-(road32|check|check-broken|check-signed|check-planted)$"
    $timed "32-bit Windows suite" ctest --test-dir build/win32 --output-on-failure \
      -j "$(nproc)" -E "$road" || return 1
    $timed "32-bit road and check" ctest --test-dir build/win32 --output-on-failure -R "$road"
  }
  status=0
  suites || status=$?
  "$wineserver" -k >/dev/null 2>&1 || true
  exit $status' _ "$wine64" "$wineserver" "$width32" "$timed" || status=$?
stop_wine
if [ "$status" -eq 124 ]; then
  echo "windows: the Windows suites FAILED: not finished within ${suite_limit} s" >&2
  exit 1
fi
[ "$status" -eq 0 ] || { echo "windows: the Windows suites FAILED" >&2; exit 1; }
echo "windows: the Windows stages passed"
[ -z "${not_run:-}" ] || echo "$not_run"
