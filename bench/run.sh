#!/usr/bin/env bash
# Builds the x86-64 benchmarks and runs them under Wine.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
cmake --preset win64 >/dev/null && cmake --build --preset win64 --target extraction_bench >/dev/null
scripts/wine-run.sh build/win64/bench/extraction_bench64.exe
