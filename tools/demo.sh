#!/usr/bin/env bash
# The demo: writes a sample host database and prints the impurity protocol of the two newest
# measurements of its newest series, as the protocol window would show it.
# Run through `make demo`, which builds build/native first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="${NIVRA_BIN:-$root/build/native}"
db="$root/build/demo/sample.db"

mkdir -p "$(dirname "$db")"
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
"$bin/nivra-protocol" "$db" "$first" "$second"
