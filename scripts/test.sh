#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the whole test suite: the
# core unit tests on the host and under Wine for each bitness, then the host
# tests (payload tools, template checks, scenarios under Wine), then a short
# fuzzing run. Ends with the line "N passed, N failed, N skipped".
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

"$repo/scripts/setup.sh" || exit 1
"$repo/scripts/build.sh" || exit 1

# One fresh Wine prefix for the whole run.
rm -rf build/wineprefix build/wineprefix.lock
"$repo/scripts/wine-prefix.sh" ensure

passed=0 failed=0 skipped=0
for preset in win64 win32 host; do
  echo "== test $preset"
  log=build/ctest-$preset.log
  ctest --preset "$preset" -j2 2>&1 | tee "$log"
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
  bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$summary")
  skip=$(grep -c '(Skipped)' "$log" || true)
  if [ -z "$summary" ]; then
    echo "test: no ctest summary for $preset" >&2
    failed=$((failed + 1))
    continue
  fi
  passed=$((passed + total - bad - skip))
  failed=$((failed + bad))
  skipped=$((skipped + skip))
done

"$repo/scripts/wine-prefix.sh" stop

# The fuzz targets, a short run each over their kept corpora.
echo "== fuzz"
if bash fuzz/run.sh 10; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
