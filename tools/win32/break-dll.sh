#!/usr/bin/env bash
# break-dll.sh SOURCE TARGET: writes a copy of nivra.dll whose calculation is deliberately
# wrong, for proving that the installation check can fail. The acceptance limit's factor 0.1,
# stored once in the library as a little-endian double, becomes 0.12, so every assessed row
# shows a limit 1.2 times too large. Exits 1 when the constant is not found exactly once.
set -euo pipefail
source=$1 target=$2
factor='\x9a\x99\x99\x99\x99\x99\xb9\x3f'  # 0.1
wrong='\xb8\x1e\x85\xeb\x51\xb8\xbe\x3f'   # 0.12
offsets=$(LC_ALL=C grep -obUaP "$factor" "$source" | cut -d: -f1 || true)
count=$(grep -c . <<<"$offsets" || true)
[ "$count" -eq 1 ] || { echo "break-dll: 0.1 found $count times in $source, not once" >&2; exit 1; }
mkdir -p "$(dirname "$target")"
cp "$source" "$target.tmp"
printf "$wrong" | dd of="$target.tmp" bs=1 seek="$offsets" conv=notrunc status=none
mv "$target.tmp" "$target"
