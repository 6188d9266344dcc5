#!/usr/bin/env bash
# The demo: writes a sample host database and prints the impurity protocol of the two newest
# measurements of its newest series, first with the native command-line tool, then along
# the real road on Windows: nivra.dll in the test host under Wine and Xvfb picks the menu
# item, chooses the pair in the selection dialog, reads the protocol back from the window
# and presses "Отчёт", which leaves build/demo/protocol.odt and the document the host
# received, build/demo/protocol.xml. The report is then rendered as a lab prints it, with
# LibreOffice's writer (installed without its GUI when missing, as is pdftoppm), to
# build/demo/protocol.pdf and a PNG of each page, build/demo/protocol-1.png and on.
# Run through `make demo`, which builds build/native first; this script builds build/win64.
# NIVRA_DEMO_WINDOWS=0 skips the Windows road.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="${NIVRA_BIN:-$root/build/native}"
out="$root/build/demo"
db="$out/sample.db"

mkdir -p "$out"
"$bin/nivra-sample-db" "$db"

# The newest series is the one with the most recent measurement; its two newest
# measurements form the pair, the older one first.
newest_series="(SELECT series FROM assay GROUP BY series ORDER BY MAX(date) DESC LIMIT 1)"
mapfile -t pair < <(sqlite3 "$db" \
  "SELECT id FROM assay WHERE series = $newest_series ORDER BY date DESC LIMIT 2;")
second=${pair[0]}
first=${pair[1]}

echo
sqlite3 -separator ' ' "$db" "SELECT 'Серия:', series FROM assay WHERE id = $second;"
sqlite3 -separator ' ' "$db" \
  "SELECT 'Измерение ' || id || ':', datetime(date, 'unixepoch'), sample FROM assay
   WHERE id IN ($first, $second) ORDER BY date;"
echo
printf 'Компонент\t1 измерение\t2 измерение\tСреднее\tПовторяемость\tПредел\tОценка\tНеопределенность\tРезультат\n'
"$bin/nivra-protocol" "$db" "$first" "$second" | tee "$out/protocol-native.tsv"

[ "${NIVRA_DEMO_WINDOWS:-1}" = 1 ] || exit 0

echo
echo "== nivra.dll в тестовом хосте (win64, Wine) =="
win64="$root/build/win64"
[ -f "$win64/build.ninja" ] || cmake --preset win64 >/dev/null
cmake --build "$win64" -j "${JOBS:-$(nproc)}" --target nivra nivra-host >/dev/null
"$root/tools/run-host.sh" --demo "$db" "$out" | tee "$out/host.txt"

# The window must show exactly what the native calculation printed.
grep -A 9 '^Компонент' "$out/host.txt" | tail -n +2 >"$out/protocol-window.tsv"
if ! diff -q "$out/protocol-native.tsv" "$out/protocol-window.tsv" >/dev/null; then
  echo "demo: the protocol window differs from the native calculation:" >&2
  diff "$out/protocol-native.tsv" "$out/protocol-window.tsv" >&2 || true
  exit 1
fi
echo "demo: the window's nine rows match the native calculation"
for file in protocol.odt protocol.xml; do
  [ -s "$out/$file" ] || { echo "demo: $out/$file was not written" >&2; exit 1; }
done

# LibreOffice's writer without its GUI, the fonts the template names, and pdftoppm.
render_tools=()
command -v soffice >/dev/null 2>&1 || render_tools+=(libreoffice-writer-nogui fonts-liberation2)
command -v pdftoppm >/dev/null 2>&1 || render_tools+=(poppler-utils)
if ((${#render_tools[@]})); then
  [ "$(id -u)" -eq 0 ] || { echo "demo: not root, cannot install ${render_tools[*]}" >&2; exit 1; }
  echo "demo: installing ${render_tools[*]} (once, takes a while)"
  # shellcheck source=tools/apt-private.sh
  . "$root/tools/apt-private.sh"
  BOOTSTRAP_TMP=$(mktemp -d)
  export DEBIAN_FRONTEND=noninteractive
  apt_install "${render_tools[@]}" || { apt_refresh && apt_install "${render_tools[@]}"; } || {
    echo "demo: installing ${render_tools[*]} failed" >&2
    exit 1
  }
  rm -rf "$BOOTSTRAP_TMP"
fi

# soffice answers 0 even when it cannot load the document: the PDF tells.
rm -f "$out/protocol.pdf" "$out"/protocol-*.png
timeout 300 soffice --headless "-env:UserInstallation=file://$out/libreoffice" \
  --convert-to pdf --outdir "$out" "$out/protocol.odt" >"$out/soffice.txt" 2>&1 || true
if [ ! -s "$out/protocol.pdf" ]; then
  echo "demo: LibreOffice could not render protocol.odt:" >&2
  grep -v javaldx "$out/soffice.txt" >&2 || true
  exit 1
fi
pdftoppm -png -r 80 "$out/protocol.pdf" "$out/protocol"
echo "demo: the report as printed: build/demo/protocol.pdf," \
  "$(cd "$out" && ls protocol-*.png | sed "s|^|build/demo/|" | paste -sd ' ' -)"
echo "demo: $(cd "$out" && ls protocol.odt protocol.xml sample.db | sed "s|^|build/demo/|" |
  tr '\n' ' ')"
