#!/usr/bin/env bash
# Installs what the three builds and the tests need on a Debian 12 machine and fetches the
# pinned third-party sources into third_party/src. Idempotent: quick when all is present.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
src="$root/third_party/src"
mkdir -p "$src"

packages=(
  g++ cmake ninja-build make clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686
  libz-mingw-w64-dev wine wine64 fonts-wine xvfb xauth
  libgtest-dev googletest libbenchmark-dev sqlite3 unicode-data
  ca-certificates dpkg-dev python3 imagemagick
)
# npm may come with the machine's own Node.js rather than from Debian.
command -v npm >/dev/null 2>&1 || packages+=(npm)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "bootstrap: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

check() { # file sha256
  echo "$2  $1" | sha256sum -c --quiet - >/dev/null 2>&1
}

# SQLite amalgamation, from the better-sqlite3 package of the npm registry.
sqlite_tgz="$src/better-sqlite3-12.11.1.tgz"
sqlite_sha=ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835
if [ ! -f "$src/sqlite3/sqlite3.c" ]; then
  if [ ! -f "$sqlite_tgz" ] || ! check "$sqlite_tgz" "$sqlite_sha"; then
    (cd "$src" && npm pack --silent better-sqlite3@12.11.1 >/dev/null)
  fi
  check "$sqlite_tgz" "$sqlite_sha" || { echo "bootstrap: sqlite archive hash mismatch" >&2; exit 1; }
  tmp=$(mktemp -d)
  tar -xzf "$sqlite_tgz" -C "$tmp" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h package/deps/sqlite3/sqlite3ext.h
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
  if ! { [ -f "$pugi_orig" ] && check "$pugi_orig" "$pugi_sha" && [ -f "$zlib_orig" ] && check "$zlib_orig" "$zlib_sha"; }; then
    apt_dir="$src/apt"
    mkdir -p "$apt_dir/sources" "$apt_dir/lists/partial"
    found=0
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] || continue
      sed 's/^Types:.*/Types: deb-src/' "$f" >"$apt_dir/sources/$(basename "$f")"
      found=1
    done
    if [ -f /etc/apt/sources.list ]; then
      grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >"$apt_dir/sources/from-list.list" || true
      [ -s "$apt_dir/sources/from-list.list" ] && found=1
    fi
    ((found)) || { echo "bootstrap: no Debian sources configured" >&2; exit 1; }
    opts=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt_dir/sources"
      -o Dir::State::Lists="$apt_dir/lists")
    apt-get "${opts[@]}" -q update >/dev/null
    (cd "$src" && apt-get "${opts[@]}" -o APT::Sandbox::User=root -q source --download-only pugixml=1.13-0.2 zlib=1:1.2.13.dfsg-1 >/dev/null)
  fi
  check "$pugi_orig" "$pugi_sha" || { echo "bootstrap: pugixml archive hash mismatch" >&2; exit 1; }
  check "$zlib_orig" "$zlib_sha" || { echo "bootstrap: zlib archive hash mismatch" >&2; exit 1; }
  tmp=$(mktemp -d)
  tar -xzf "$pugi_orig" -C "$tmp"
  mkdir -p "$src/pugixml"
  cp "$tmp"/pugixml-1.13/src/* "$src/pugixml/"
  tar -xjf "$zlib_orig" -C "$tmp"
  mkdir -p "$src/minizip"
  for f in zip ioapi iowin32 unzip; do
    cp "$tmp"/zlib-1.2.13*/contrib/minizip/$f.[ch] "$src/minizip/"
  done
  cp "$tmp"/zlib-1.2.13*/contrib/minizip/crypt.h "$src/minizip/" 2>/dev/null || true
  rm -rf "$tmp"
fi
echo "bootstrap: ready"
