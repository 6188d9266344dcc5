#!/usr/bin/env bash
# Builds the Unicode extension's libFuzzer target with clang (AddressSanitizer, UBSan) and
# runs it. Usage: tools/unicode/fuzz.sh [seconds, default 300] [extra libFuzzer options...]
# The corpus grows in build/fuzz/corpus; a crash leaves its input in build/fuzz.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-300}
shift || true
build=$root/build/fuzz
cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ > /dev/null
cmake --build "$build" -j 2
mkdir -p "$build/corpus" "$build/seeds"
# A few seeds in the target's input layout: mode byte, pattern, text, escape.
printf '\x01%%a_b!%%\\\\xyzaab\\\\!' > "$build/seeds/escape"
printf '\x00%%ежик%%\\\\ЁЖИК Æon café\\\\' > "$build/seeds/reduced"
printf '\x06%%a%%a%%a%%b\\\\aaaaaaaaaaaaaaaa\\\\' > "$build/seeds/utf16"
cd "$build"
exec ./unicode_fuzzer -max_total_time="$seconds" -max_len=2048 -print_final_stats=1 "$@" \
    corpus seeds
