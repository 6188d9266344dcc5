# Sourced by the scripts that run Windows programs (tools/test-windows.sh, tools/soak.sh): the
# prefix kept under the build folder, its environment, and ending what runs in it.
#
# wine_prefix WIDTH32 LIMIT  makes the prefix once (a 64-bit one, with its WoW64 half when
#                            WIDTH32 is 1), remade when the widths it serves changed; fails
#                            naming itself after LIMIT seconds
# stop_wine                  ends the prefix's server and every process left in the prefix
# wine_screen DPI            sets the screen's DPI (96 is 100 %, 144 is 150 %) and the virtual
#                            desktop's size, for the programs started from then on; run with
#                            the server up and before the first window for the size to count
# Expects $root (the checkout) and $timed (tools/timed.sh).

wine64=/usr/lib/wine/wine64
wine32=/usr/lib/wine/wine
wineserver=/usr/lib/wine/wineserver64
# Xvfb's screen and Wine's virtual desktop: wider than the protocol window at 150 % (about
# 1,580 pixels), so that it can still be enlarged there.
wine_screen_size=2560x1600
export WINEPREFIX=$root/build/wineprefix WINEDEBUG=-all TZ=UTC
# Besides Mono and Gecko, no menu entries or file associations: that helper costs time for
# nothing, most of all emulated.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Ends the prefix's server and every process left whose environment names the prefix (a Wine
# process still starting when the server went would run on by itself).
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

# The prefix, once; remade when the widths it can serve changed (a prefix made without the
# emulation has no 32-bit half). A creation that did not finish leaves no stamp.
wine_prefix() { # width32 limit
  local kind="win64" stamp=$WINEPREFIX.ready status=0
  (($1)) && kind="win64+wow64"
  if [ "$(cat "$stamp" 2>/dev/null)" = "$kind" ] && [ -f "$WINEPREFIX/system.reg" ]; then
    return 0
  fi
  echo "windows: creating the Wine prefix ($kind)"
  rm -rf "$WINEPREFIX" "$stamp"
  # One virtual desktop holds every window: with no window manager on the display, Wine
  # would otherwise wait for one at each top-level window that is hidden or destroyed.
  $timed "Wine prefix" timeout -k 10 "$2" bash -c '
    "$1" wineboot --init >/dev/null 2>&1 </dev/null
    "$1" reg add "HKCU\Software\Wine\Explorer" /v Desktop /d Default /f >/dev/null 2>&1
    "$1" reg add "HKCU\Software\Wine\Explorer\Desktops" /v Default /d "$3" /f >/dev/null 2>&1
    "$2" -w' _ "$wine64" "$wineserver" "$wine_screen_size" || status=$?
  if [ "$status" -ne 0 ]; then
    stop_wine
    echo "windows: creating the Wine prefix FAILED (exit $status; 124 is its $2 s limit)" >&2
    return 1
  fi
  echo "$kind" >"$stamp"
}

# Wine reads the DPI when a program starts, and the desktop's size when it first makes the
# desktop window.
wine_screen() { # dpi
  "$wine64" reg add "HKCU\Control Panel\Desktop" /v LogPixels /t REG_DWORD /d "$1" /f \
    >/dev/null 2>&1 </dev/null
  "$wine64" reg add "HKCU\Software\Wine\Explorer\Desktops" /v Default /d "$wine_screen_size" /f \
    >/dev/null 2>&1 </dev/null
}
