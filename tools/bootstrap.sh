#!/usr/bin/env bash
# Installs what the three builds and the tests need on a Debian 12 machine and fetches the
# pinned third-party sources into third_party/src. Idempotent: quick when all is present.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
src="$root/third_party/src"
mkdir -p "$src"
check_sha() { # file sha256
  echo "$2  $1" | sha256sum -c --quiet - >/dev/null 2>&1
}

# shellcheck source=tools/apt-private.sh
. "$root/tools/apt-private.sh"
BOOTSTRAP_TMP=$(mktemp -d)
trap 'rm -rf "$BOOTSTRAP_TMP"' EXIT
export DEBIAN_FRONTEND=noninteractive

packages=(
  g++ cmake ninja-build make clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686
  libz-mingw-w64-dev wine wine64 fonts-wine xvfb xauth
  libgtest-dev googletest libbenchmark-dev sqlite3 unicode-data
  ca-certificates dpkg-dev python3 imagemagick zip unzip openssl osslsigncode
)
# npm may come with the machine's own Node.js rather than from Debian.
command -v npm >/dev/null 2>&1 || packages+=(npm)
# The 32-bit stage runs 32-bit Wine, whose i386 programs the kernel hands to qemu-user.
# shellcheck source=tools/win32/qemu-pin.sh
. "$root/tools/win32/qemu-pin.sh"
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }
fail() { echo "bootstrap: $*" >&2; exit 1; }
# The tool's own error from its output, in one line: its error lines (apt's "E:", npm's
# "npm ERR!"), or else its last lines.
tool_error() { # file
  local lines
  lines=$(grep -E '^(E:|npm ERR!|npm error)' "$1" | grep -vE 'complete log|^npm (ERR!|error) *$' |
    sed -E 's/^(npm ERR!|npm error) *//' | head -3 || true)
  [ -n "$lines" ] || lines=$(grep -v '^[[:space:]]*$' "$1" | tail -2 || true)
  echo "${lines:-no message}" | paste -sd ';' - | sed 's/;/; /g'
}
# step WHAT COMMAND...: runs COMMAND (a function too) in a subshell with its output kept; on
# failure, one line naming WHAT and the tool's error.
step() {
  local what=$1 log=$BOOTSTRAP_TMP/step.log
  shift
  ("$@") >"$log" 2>&1 || fail "$what failed: $(tool_error "$log")"
}
in_dir() { cd "$1" && shift && "$@"; }
# Anything else that stops the bootstrap says where.
trap 'status=$?; echo "bootstrap: stopped (exit $status) at line $LINENO: $BASH_COMMAND" >&2' ERR

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if [ "$(id -u)" -ne 0 ]; then
  ((${#missing[@]} == 0)) || fail "not root, cannot install ${missing[*]}"
  installed wine32:i386 && qemu_pin_installed ||
    echo "bootstrap: not root: 32-bit Wine or qemu-user $qemu_version missing, the 32-bit stage will not run"
else
  # 32-bit Wine on its own, after the rest: when a mirror lacks an i386 index, only this
  # install needs the fallback to the release's versions.
  wine32=()
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    wine32=(wine32:i386) # its index is new, so the update below must run
  elif ! installed wine32:i386; then
    wine32=(wine32:i386)
  fi
  if ((${#missing[@]} + ${#wine32[@]})); then
    echo "bootstrap: installing ${missing[*]}${missing[*]:+ }${wine32[*]}"
    apt_refresh
  fi
  if ((${#missing[@]})); then
    apt_install "${missing[@]}" ||
      fail "installing ${missing[*]} failed: $(tool_error "$BOOTSTRAP_TMP/install.log")"
  fi
  if ((${#wine32[@]})); then
    apt_install "${wine32[@]}" ||
      fail "installing ${wine32[*]} failed: $(tool_error "$BOOTSTRAP_TMP/install.log")"
  fi
  if ! qemu_pin_installed; then
    echo "bootstrap: installing qemu-user $qemu_version from bookworm-backports"
    debs="$src/debs"
    # apt names the file with the epoch, its colon escaped.
    deb="$debs/qemu-user_${qemu_version/:/%3a}_amd64.deb"
    if ! check_sha "$deb" "$qemu_deb_sha"; then
      mkdir -p "$debs"
      step "downloading qemu-user $qemu_version from bookworm-backports" in_dir "$debs" \
        private_apt_get "$src/apt-backports" backports download "qemu-user=$qemu_version"
    fi
    check_sha "$deb" "$qemu_deb_sha" || fail "qemu-user archive hash mismatch"
    # The system's sources stay as they are; only this one package comes from backports.
    apt_install "$deb" ||
      fail "installing qemu-user $qemu_version failed: $(tool_error "$BOOTSTRAP_TMP/install.log")"
  fi
fi


# SQLite amalgamation, from the better-sqlite3 package of the npm registry.
sqlite_tgz="$src/better-sqlite3-12.11.1.tgz"
sqlite_sha=ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835
if [ ! -f "$src/sqlite3/sqlite3.c" ]; then
  if ! check_sha "$sqlite_tgz" "$sqlite_sha"; then
    step "downloading the SQLite sources (npm pack better-sqlite3@12.11.1)" in_dir "$src" \
      npm pack --loglevel=error better-sqlite3@12.11.1
  fi
  check_sha "$sqlite_tgz" "$sqlite_sha" || fail "sqlite archive hash mismatch"
  tmp=$(mktemp -d)
  step "unpacking the SQLite sources" tar -xzf "$sqlite_tgz" -C "$tmp" \
    package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h package/deps/sqlite3/sqlite3ext.h
  mkdir -p "$src/sqlite3"
  mv "$tmp"/package/deps/sqlite3/* "$src/sqlite3/"
  rm -rf "$tmp"
fi

# pugixml and zlib (minizip) from Debian's source packages, through a private apt
# configuration whose deb-src lines are made from the machine's own Debian sources.
pugi_orig="$src/pugixml_1.13.orig.tar.gz"
pugi_sha=5c5ad5d7caeb791420408042a7d88c2c6180781bf218feca259fd9d840a888e1
zlib_orig="$src/zlib_1.2.13.dfsg.orig.tar.bz2"
zlib_sha=71feb7947e3c00ef125f83b79a4e529bde31171e5babe48b391f06758d1ab0a1
if [ ! -f "$src/pugixml/pugixml.cpp" ] || [ ! -f "$src/minizip/zip.c" ]; then
  if ! { check_sha "$pugi_orig" "$pugi_sha" && check_sha "$zlib_orig" "$zlib_sha"; }; then
    step "downloading the pugixml and zlib sources" in_dir "$src" \
      private_apt_get "$src/apt" deb-src source --download-only pugixml=1.13-0.2 zlib=1:1.2.13.dfsg-1
  fi
  check_sha "$pugi_orig" "$pugi_sha" || fail "pugixml archive hash mismatch"
  check_sha "$zlib_orig" "$zlib_sha" || fail "zlib archive hash mismatch"
  tmp=$(mktemp -d)
  step "unpacking the pugixml sources" tar -xzf "$pugi_orig" -C "$tmp"
  mkdir -p "$src/pugixml"
  cp "$tmp"/pugixml-1.13/src/* "$src/pugixml/"
  step "unpacking the zlib sources" tar -xjf "$zlib_orig" -C "$tmp"
  mkdir -p "$src/minizip"
  for f in zip ioapi iowin32 unzip; do
    cp "$tmp"/zlib-1.2.13*/contrib/minizip/$f.[ch] "$src/minizip/"
  done
  cp "$tmp"/zlib-1.2.13*/contrib/minizip/crypt.h "$src/minizip/" 2>/dev/null || true
  rm -rf "$tmp"
fi
echo "bootstrap: ready"
