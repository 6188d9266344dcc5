#!/usr/bin/env bash
# The demo: writes a sample host database and prints the impurity protocol of the two newest
# measurements of its newest series, first with the native command-line tool, then along
# the real road on Windows: nivra.dll in the test host under Wine and Xvfb picks the menu
# item, chooses the pair in the selection dialog, reads the protocol back from the window
# and presses "Отчёт", which leaves build/demo/protocol.odt and the document the host
# received, build/demo/protocol.xml. With LibreOffice installed, the report is also
# rendered to build/demo/protocol.pdf (and PNGs of its pages, with pdftoppm).
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

if command -v soffice >/dev/null 2>&1; then
  soffice --headless "-env:UserInstallation=file://$out/libreoffice" \
    --convert-to pdf --outdir "$out" "$out/protocol.odt" >/dev/null 2>&1
  if [ -s "$out/protocol.pdf" ] && command -v pdftoppm >/dev/null 2>&1; then
    rm -f "$out"/protocol-*.png
    pdftoppm -png -r 80 "$out/protocol.pdf" "$out/protocol"
  fi
fi
echo "demo: $(cd "$out" && ls protocol.odt protocol.xml protocol.pdf protocol-*.png 2>/dev/null |
  sed "s|^|build/demo/|" | tr '\n' ' ')"
