#!/usr/bin/env bash
# Start-up time of the x86-64 launcher templates under Wine, each against the
# baseline program (bench/StartupBaseline.cpp) carrying the same payload and
# loading the same system DLLs. Every run is a fresh Wine process; launcher and
# baseline runs alternate, so that both see the same machine load. Prints per
# launcher the median of each and the ratio launcher / baseline.
#
# Expects the templates in dist/, the baselines in build/win64/bench/ and
# build/host/tools/payloadtool (bench/run.sh builds them).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

warmupRounds=2
rounds=20
work=build/bench-startup
payloadtool=build/host/tools/payloadtool

mkdir -p "$work"
# A jar-sized file of incompressible bytes and a few KB of text.
head -c 100000 /dev/urandom >"$work/app.jar"
printf 'Permission is granted to use and copy this software under the terms below.%.0s\n' {1..80} >"$work/LICENSE.txt"
fileSizes=$(stat -c %s "$work/app.jar"),$(stat -c %s "$work/LICENSE.txt")

# write TEMPLATE LAUNCHER_KIND OUTPUT: the benchmark's payload on TEMPLATE.
write() {
  "$payloadtool" write --template "$1" --config bench/startup-launcher.txt --set "launcherKind=$2" \
    --file "app.jar=$work/app.jar" --file "LICENSE.txt=$work/LICENSE.txt" --output "$3" >/dev/null
}

# The launcher's imported DLLs, so the baseline loads the same ones whatever
# the launcher comes to import later.
importedDlls() {
  "$payloadtool" inspect "$1" | sed -n 's/^ *imports: //p'
}

payloadSummary() {
  "$payloadtool" dump "$1" | awk -F': ' '/^(narrow entries|wide entries|locale sections)/ { printf "%s %s, ", $1, $2 }
    /^embedded files/ { printf "embedded files %s (%s bytes)", $2, sizes }' sizes="$fileSizes"
}

# Timed runs call the Wine loader directly: the runner's own checks would add
# the same constant to both sides and pull every ratio towards 1.
source scripts/wine-env.sh
scripts/wine-prefix.sh ensure

# timeRun EXPECTED_EXIT PROGRAM [ARGUMENT]...: sets `elapsed` (ns) and `status`.
# An empty EXPECTED_EXIT accepts any code.
timeRun() {
  local expected=$1 start
  shift
  start=$(date +%s%N)
  status=0
  "$WINELOADER" "$@" </dev/null >"$work/output.txt" 2>&1 || status=$?
  elapsed=$(($(date +%s%N) - start))
  if [ -n "$expected" ] && [ "$status" != "$expected" ]; then
    echo "$(basename "$1") exited with $status instead of $expected:" >&2
    cat "$work/output.txt" >&2
    exit 1
  fi
}

median() {
  printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 }
    END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.3f", m / 1e6 }'
}

# bench TEMPLATE BASELINE LAUNCHER_KIND [LAUNCHER_ARGUMENT]...
bench() {
  local template=$1 baselineTemplate=$2 kind=$3
  shift 3
  local name launcher baseline dlls launcherExit round
  name=$(basename "$template")
  launcher="$work/${name%.exe}-app.exe"
  baseline="$work/${name%.exe}-baseline.exe"
  write "$template" "$kind" "$launcher"
  write "$baselineTemplate" "$kind" "$baseline"
  if [ $(($(stat -c %s "$launcher") - $(stat -c %s "$template"))) != \
       $(($(stat -c %s "$baseline") - $(stat -c %s "$baselineTemplate"))) ]; then
    echo "$name: the baseline's payload differs in size from the launcher's" >&2
    exit 1
  fi
  read -ra dlls <<<"$(importedDlls "$template")"
  echo "$name: $(payloadSummary "$launcher"); baseline loads ${dlls[*]}"

  # The first launcher run (a warm-up, which also brings up the prefix's
  # wineserver) sets the exit code every later run must repeat.
  local launcherTimes=() baselineTimes=()
  launcherExit=
  for ((round = 0; round < warmupRounds + rounds; round++)); do
    timeRun "$launcherExit" "$launcher" "$@"
    launcherExit=$status
    launcherTimes+=("$elapsed")
    timeRun 0 "$baseline" "$fileSizes" "${dlls[@]}"
    baselineTimes+=("$elapsed")
  done

  local launcherMs baselineMs
  launcherMs=$(median "${launcherTimes[@]:warmupRounds}")
  baselineMs=$(median "${baselineTimes[@]:warmupRounds}")
  printf '%-19s exit %-3s launcher %7.1f ms   baseline %7.1f ms   ratio %.2f\n' "$name" "$launcherExit" \
    "$launcherMs" "$baselineMs" "$(awk -v a="$launcherMs" -v b="$baselineMs" 'BEGIN { print a / b }')"
}

echo "start-up under Wine, x86-64 only: median of $rounds alternating runs after $warmupRounds warm-up rounds"
# The GUI launcher's first argument keeps it quiet: no dialog, the message goes to standard error.
bench dist/guilauncher64.exe build/win64/bench/startup_baseline_gui64.exe 1 -q_btl_internal
bench dist/svclauncher64.exe build/win64/bench/startup_baseline_console64.exe 4
