#!/usr/bin/env bash
# Builds the report's libFuzzer target with clang (AddressSanitizer, UBSan) and runs it for
# the given seconds on one core: databases of any shape and content, through the protocol and
# the report, to the document a host writes out. Usage: tools/fuzz.sh [seconds, default 600]
# [extra libFuzzer options...]. The committed seeds (tests/fuzz/corpus/report) are read, the
# corpus grows in build/fuzz/corpus-report, and a failing input is left in build/fuzz.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
shift || true
build=$root/build/fuzz
cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ > /dev/null
cmake --build "$build" -j 2 --target report_fuzzer
mkdir -p "$build/corpus-report"
cd "$build"
exec ./report_fuzzer -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
    -artifact_prefix="$build/" "$@" corpus-report "$root/tests/fuzz/corpus/report"
