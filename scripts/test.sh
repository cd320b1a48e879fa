#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the whole test suite: the
# core unit tests on the host and under Wine for each bitness, then the host
# tests (payload tools, template checks, scenarios under Wine), then the Maven
# builds (scripts/maven.sh) and the example's launcher under Wine, then a short
# fuzzing run. Ends with the line "N passed, N failed, N skipped".
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

"$repo/scripts/setup.sh" || exit 1
"$repo/scripts/build.sh" || exit 1

passed=0 failed=0 skipped=0
# What failed, named again at the end: the end of the output is what a reader
# of a CI run sees first.
failures=()
failed_logs=()
second_runs=()
pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); failures+=("$1"); }

# The release archives in their quick form, from the dist/ just built.
echo "== release bundle"
if bash tests/release/bundle-check.sh; then pass; else fail "release bundle"; fi

# One fresh Wine prefix for the whole run.
rm -rf build/wineprefix build/wineprefix.lock
"$repo/scripts/wine-prefix.sh" ensure

for preset in win64 win32 host; do
  echo "== test $preset"
  log=build/ctest-$preset.log
  # A test that fails runs once more: Wine now and then fails a program
  # before it runs (exit code 1, no output), which no test can tell from a
  # failure of its own. One that passes only on its second run counts as
  # passed and is named at the end; one that fails twice fails.
  ctest --preset "$preset" -j2 --repeat until-pass:2 2>&1 | tee "$log"
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
  bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$summary")
  skip=$(grep -c '(Skipped)' "$log" || true)
  if [ -z "$summary" ]; then
    echo "test: no ctest summary for $preset" >&2
    fail "ctest $preset: no summary"
    continue
  fi
  while read -r name; do
    failures+=("ctest $preset: $name")
  done < <(sed -nE 's/^[[:space:]]*[0-9]+ - (.*) \((Failed|Timeout|Not Run|Exception|SEGFAULT|Subprocess aborted)[^)]*\).*/\1 (\2)/p' "$log")
  [ "$bad" -eq 0 ] || failed_logs+=("$log")
  # A first run that failed prints its line without the "N/M" count in front.
  while read -r name; do
    second_runs+=("ctest $preset: $name")
  done < <(sed -nE 's/^[[:space:]]+Test +#[0-9]+: (.+[^ .]) \.+ *\*\*\*(Failed|Timeout|Exception).*/\1/p' "$log")
  passed=$((passed + total - bad - skip))
  failed=$((failed + bad))
  skipped=$((skipped + skip))
done

# The Maven side: the bootstrap library's and the plugin's builds with their
# tests, the example project built with the plugin, one result line each;
# then the example's launcher under Wine with the real runtime.
echo "== maven"
"$repo/scripts/maven.sh" test 2>&1 | tee build/maven-test.log
for result in passed failed skipped; do
  count=$(grep -cE "^maven: [a-z]+ $result" build/maven-test.log || true)
  case $result in
    passed) passed=$((passed + count)) ;;
    failed) failed=$((failed + count)); [ "$count" -eq 0 ] || failures+=("maven") ;;
    skipped) skipped=$((skipped + count)) ;;
  esac
done
if [ "$(grep -cE '^maven: [a-z]+ (passed|failed|skipped)' build/maven-test.log)" -ne 4 ]; then
  echo "test: scripts/maven.sh did not report its four steps" >&2
  fail "maven: steps missing"
fi
echo "== maven example under Wine"
bash tests/maven/example-under-wine.sh
case $? in
  0) pass ;;
  77) skipped=$((skipped + 1)) ;;
  *) fail "maven example under Wine" ;;
esac

"$repo/scripts/wine-prefix.sh" stop

# The fuzz targets, a short run each over their kept corpora.
echo "== fuzz"
if bash fuzz/run.sh 10; then pass; else fail "fuzz"; fi

if [ "${#second_runs[@]}" -gt 0 ]; then
  echo "== failed on their first run (their output is above)"
  printf '  %s\n' "${second_runs[@]}"
fi
if [ "${#failures[@]}" -gt 0 ]; then
  echo "== failed (their output is above, under the step's heading)"
  printf '  %s\n' "${failures[@]}"
  for log in "${failed_logs[@]}"; do
    echo "== first assertions that failed in $log"
    grep -m8 -A8 -E ': Failure$' "$log" | head -80
  done
fi

echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
