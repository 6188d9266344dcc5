# Sourced by the bootstrap: apt helpers that never change the machine's own apt sources.
#
# apt_refresh           apt-get update, retried while a mirror is mid-sync; a failure that
#                       remains is reported and left to the install that follows to decide
# apt_install PKG...    apt-get install; when an index was missing and the install cannot be
#                       resolved without it, installs the release's own versions instead
# private_sources DIR K writes into DIR apt sources made from the machine's configured Debian
#                       sources: K=deb-src turns each into a source-package entry,
#                       K=backports points each entry of the release suite at its backports
# private_apt_get DIR K ARGS...
#                       apt-get ARGS with those sources alone (DIR's lists and archives), their
#                       indexes refreshed first; a failed refresh is left to ARGS to decide

apt_index_incomplete=0
apt_refresh() {
  local attempt
  for attempt in 1 2 3; do
    apt-get update -q >/dev/null 2>"$BOOTSTRAP_TMP/apt-update.err" && apt_index_incomplete=0 && return 0
    echo "bootstrap: apt-get update failed (attempt $attempt of 3):" >&2
    grep -E '^(E|W):' "$BOOTSTRAP_TMP/apt-update.err" | head -3 >&2
    [ "$attempt" -lt 3 ] && sleep 5
  done
  echo "bootstrap: going on with the package indexes apt has; the install decides" >&2
  apt_index_incomplete=1
}

# A missing index of the security suite for one architecture leaves libraries that must have
# the same version in both architectures (Multi-Arch: same) without a common version. The
# release suite has one for every package, so the fallback prefers it, moving such libraries
# to the release's version where that is needed.
apt_install() {
  local log=$BOOTSTRAP_TMP/install.log codename
  apt-get install -y -q --no-install-recommends "$@" >"$log" 2>&1 && return 0
  if ((apt_index_incomplete)); then
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    echo "bootstrap: not installable with an index missing; installing $codename's own versions" >&2
    printf 'Package: *\nPin: release n=%s\nPin-Priority: 1001\n' "$codename" \
      >"$BOOTSTRAP_TMP/release.pref"
    apt-get install -y -q --no-install-recommends --allow-downgrades \
      -o Dir::Etc::Preferences="$BOOTSTRAP_TMP/release.pref" "$@" >"$log" 2>&1 && return 0
  fi
  tail -20 "$log" >&2
  return 1
}

private_sources() { # dir kind
  local dir=$1 kind=$2 codename f found=0
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || { echo "bootstrap: /etc/os-release names no release" >&2; return 1; }
  mkdir -p "$dir/sources" "$dir/lists/partial" "$dir/archives/partial"
  rm -f "$dir/sources/"*
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    if [ "$kind" = deb-src ]; then
      sed 's/^Types:.*/Types: deb-src/' "$f"
    else # one stanza per paragraph; keep those of the release suite itself
      awk -v suite="$codename" 'BEGIN { RS = ""; ORS = "\n\n" }
        $0 ~ "\nSuites:([^\n]* )?" suite "( |\n|$)" {
          sub("\nSuites:[^\n]*", "\nSuites: " suite "-backports"); print }' "$f"
    fi >"$dir/sources/$(basename "$f")"
  done
  if [ -f /etc/apt/sources.list ]; then
    if [ "$kind" = deb-src ]; then
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list
    else
      awk -v suite="$codename" '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i == suite) {
        $i = suite "-backports"; print; break } }' /etc/apt/sources.list
    fi >"$dir/sources/from-list.list"
  fi
  for f in "$dir/sources/"*; do [ -s "$f" ] && found=1 || rm -f "$f"; done
  ((found)) || { echo "bootstrap: no Debian sources configured for $kind" >&2; return 1; }
}

private_apt_get() { # dir kind args...
  local dir=$1 kind=$2 opts
  shift 2
  private_sources "$dir" "$kind" || return 1
  opts=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$dir/sources"
    -o "Dir::State::Lists=$dir/lists" -o "Dir::Cache::Archives=$dir/archives"
    -o APT::Sandbox::User=root)
  apt-get "${opts[@]}" -q update >/dev/null 2>&1 || true
  apt-get "${opts[@]}" -q "$@" >/dev/null
}
