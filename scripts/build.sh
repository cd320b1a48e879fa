#!/usr/bin/env bash
# Builds the four launcher templates into dist/ (x86-64 and x86 cross builds)
# and the host tools and tests.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
for preset in win64 win32 host; do
  echo "== build $preset"
  cmake --preset "$preset" >"build-$preset.log" 2>&1 || { cat "build-$preset.log"; exit 1; }
  cmake --build --preset "$preset" >>"build-$preset.log" 2>&1 || { tail -50 "build-$preset.log"; exit 1; }
  rm -f "build-$preset.log"
done
ls -l dist/
