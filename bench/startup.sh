#!/usr/bin/env bash
# Start-up time of the x86-64 launchers under Wine up to the JVM: from the
# creation of the launcher's process to its JNI_CreateJavaVM call, against the
# baseline program (bench/StartupBaseline.cpp) carrying the same payload,
# loading the same system DLLs and doing only the I/O no launcher can avoid
# (its payload, the two embedded files, the version cache entry of the
# runtime), timed from its process's creation to the end of that work.
#
# The runtime is the stand-in the tests build, laid out as a JRE beside the
# launcher; its jvm.dll writes "startup-us" into its transcript at
# JNI_CreateJavaVM and then refuses the creation, which ends the launcher. The
# first round fills the version cache; every later one finds the runtime
# there. Launcher and baseline runs alternate, so that both see the same
# machine load; every run is a fresh Wine process. Prints per launcher the
# median of each and the ratio launcher / baseline, and, for information, the
# same for the whole process as seen from outside. Then the cost of the sweep
# of leftover temporary directories that every start runs (see the end).
#
# Expects the templates in dist/, the baselines in build/win64/bench/, the
# stand-in runtime in build/win64/tests/standin/ and
# build/host/tools/payloadtool (bench/run.sh builds them).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

warmupRounds=2
rounds=${STARTUP_BENCH_ROUNDS:-30}
work=build/bench-startup
payloadtool=build/host/tools/payloadtool
standin=build/win64/tests/standin

rm -rf "$work"
mkdir -p "$work"
# A jar-sized file of incompressible bytes and a few KB of text.
head -c 100000 /dev/urandom >"$work/app.jar"
printf 'Permission is granted to use and copy this software under the terms below.%.0s\n' {1..80} >"$work/LICENSE.txt"
fileSizes=$(stat -c %s "$work/app.jar"),$(stat -c %s "$work/LICENSE.txt")

# The runtime: a JRE of stand-ins in $work/jre. Fresh copies get a new
# modification time, so no cache entry of an earlier run is valid for them.
jre=$work/jre
mkdir -p "$jre/bin/server"
cp "$standin/java.exe" "$standin/javaw.exe" "$jre/bin/"
cp "$standin/jvm.dll" "$jre/bin/server/"
printf 'banner=java version "11.0.2"\nexit=0\n' >"$jre/bin/standin-java.cfg"
# JNI_ERR right after the time is taken: the cheapest way for the launcher to end.
printf 'create.result=-1\n' >"$jre/bin/server/standin-jvm.cfg"
transcript=$jre/bin/server/standin-jvm-transcript.txt

# write TEMPLATE LAUNCHER_KIND OUTPUT: the benchmark's payload on TEMPLATE.
write() {
  "$payloadtool" write --template "$1" --config bench/startup-launcher.txt --set "launcherKind=$2" \
    --set "jvmSearchSequence=Rjre;" \
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
javaExe=$("$WINELOADER" winepath -w "$jre/bin/java.exe" 2>/dev/null | tr -d '\r')
# The launcher writes its log into the temporary directory, C:\users\<user>\Temp in a Wine prefix.
logDirectory=$("$WINELOADER" winepath -u 'C:\users' 2>/dev/null)

# timeRun EXPECTED_EXIT PROGRAM [ARGUMENT]...: sets `elapsed` (ns, the whole
# Wine process) and `status`. An empty EXPECTED_EXIT accepts any code.
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

# startupUs FILE WHAT: the one "startup-us" value in FILE.
startupUs() {
  local values
  values=$(sed -n 's/^startup-us \([0-9][0-9]*\)\r\{0,1\}$/\1/p' "$1" 2>/dev/null || true)
  if [ -z "$values" ] || [ "$(wc -l <<<"$values")" != 1 ]; then
    echo "$2: no single startup-us line in $1:" >&2
    cat "$1" >&2 2>/dev/null || true
    exit 1
  fi
  echo "$values"
}

# median SCALE VALUE...: the median divided by SCALE.
median() {
  local scale=$1
  shift
  printf '%s\n' "$@" | sort -n | awk -v scale="$scale" '{ v[NR] = $1 }
    END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.3f", m / scale }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# The launcher's log of one untimed run with ZELKOR_LOG=yes, which must show the
# version taken from the cache.
checkWarmCache() {
  local launcher=$1 log
  shift
  find "$logDirectory" -maxdepth 3 -name 'btl_nlog_*' -delete
  rm -f "$transcript"
  ZELKOR_LOG=yes "$WINELOADER" "$launcher" "$@" </dev/null >/dev/null 2>&1 || true
  log=$(find "$logDirectory" -maxdepth 3 -name 'btl_nlog_*' | head -n 1)
  if [ -z "$log" ] || ! grep -q 'got version from registry' "$log"; then
    echo "$(basename "$launcher"): the version did not come from the cache; its log:" >&2
    cat "$log" >&2 2>/dev/null || true
    exit 1
  fi
  echo "  warm cache: $(grep -m 1 'got version from registry' "$log" | tr -d '\r')"
  rm -f "$log"
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

  # The first launcher run (a warm-up, which also fills the version cache and
  # brings up the prefix's wineserver) sets the exit code every later run
  # must repeat.
  local launcherUs=() baselineUs=() launcherWall=() baselineWall=()
  launcherExit=
  for ((round = 0; round < warmupRounds + rounds; round++)); do
    rm -f "$transcript"
    timeRun "$launcherExit" "$launcher" "$@"
    launcherExit=$status
    launcherUs+=("$(startupUs "$transcript" "$name")")
    launcherWall+=("$elapsed")
    timeRun 0 "$baseline" "$fileSizes" "$javaExe" "${dlls[@]}"
    baselineUs+=("$(startupUs "$work/output.txt" "$(basename "$baseline")")")
    baselineWall+=("$elapsed")
    if ((round == 0)); then checkWarmCache "$launcher" "$@"; fi
  done

  local launcherMs baselineMs launcherWallMs baselineWallMs
  launcherMs=$(median 1e3 "${launcherUs[@]:warmupRounds}")
  baselineMs=$(median 1e3 "${baselineUs[@]:warmupRounds}")
  launcherWallMs=$(median 1e6 "${launcherWall[@]:warmupRounds}")
  baselineWallMs=$(median 1e6 "${baselineWall[@]:warmupRounds}")
  printf '%-19s to JNI_CreateJavaVM: launcher %7.2f ms   baseline %7.2f ms   ratio %s\n' "$name" \
    "$launcherMs" "$baselineMs" "$(ratio "$launcherMs" "$baselineMs")"
  printf '%-19s whole process:      launcher %7.2f ms   baseline %7.2f ms   ratio %s   (launcher exit %s)\n' \
    "" "$launcherWallMs" "$baselineWallMs" "$(ratio "$launcherWallMs" "$baselineWallMs")" "$launcherExit"
}

echo "start-up under Wine up to JNI_CreateJavaVM, x86-64 only, warm version cache:" \
  "median of $rounds alternating runs after $warmupRounds warm-up rounds"
# The GUI launcher's first argument keeps it quiet: no dialog, the message goes to standard error.
bench dist/guilauncher64.exe build/win64/bench/startup_baseline_gui64.exe 1 -q_btl_internal
# The service launcher's child, which the service process starts to run the application.
bench dist/svclauncher64.exe build/win64/bench/startup_baseline_console64.exe 4 __btl_restart

# The sweep of leftover temporary directories at every start, against the same
# launcher with an empty temporary directory in the same rounds: once with
# 1,000 unrelated entries there, once with those and 20 directories that ended
# launchers left (made again before each of those runs; the sweep takes them).
temp=$(find "$logDirectory" -mindepth 2 -maxdepth 2 -type d -name Temp | head -n 1)
aside=$work/unrelated
mkdir -p "$aside"
(cd "$aside" && for i in $(seq 1 1000); do printf 'x' >"unrelated-$i.dat"; done)
leaveDeadDirectories() {
  local i directory
  for i in $(seq 1 20); do
    directory=$temp/zkrbench$i.tmp_dir1700000000
    printf 'launcher temporary directory\r\n' >"$temp/zkrbench$i.tmp"
    mkdir -p "$directory/lib"
    cp "$work/app.jar" "$directory/app.jar"
    cp "$work/LICENSE.txt" "$directory/lib/LICENSE.txt"
  done
}
sweepLauncher=$work/sweep-app.exe
write dist/guilauncher64.exe 1 "$sweepLauncher"
clean=() unrelated=() swept=()
for ((round = 0; round < warmupRounds + rounds; round++)); do
  rm -f "$transcript"
  timeRun "" "$sweepLauncher" -q_btl_internal
  clean+=("$(startupUs "$transcript" clean)")
  mv "$aside"/unrelated-*.dat "$temp"/
  rm -f "$transcript"
  timeRun "" "$sweepLauncher" -q_btl_internal
  unrelated+=("$(startupUs "$transcript" unrelated)")
  leaveDeadDirectories
  rm -f "$transcript"
  timeRun "" "$sweepLauncher" -q_btl_internal
  swept+=("$(startupUs "$transcript" swept)")
  if ls -d "$temp"/zkrbench*.tmp_dir* >/dev/null 2>&1; then
    echo "the sweep left dead directories behind:" >&2
    ls -d "$temp"/zkrbench* >&2
    exit 1
  fi
  mv "$temp"/unrelated-*.dat "$aside"/
done
cleanMs=$(median 1e3 "${clean[@]:warmupRounds}")
unrelatedMs=$(median 1e3 "${unrelated[@]:warmupRounds}")
sweptMs=$(median 1e3 "${swept[@]:warmupRounds}")
echo "sweep of leftover temporary directories, guilauncher64.exe to JNI_CreateJavaVM (median of $rounds):"
printf '  empty temporary directory                 %7.2f ms\n' "$cleanMs"
printf '  1,000 unrelated entries                   %7.2f ms   ratio %s\n' "$unrelatedMs" "$(ratio "$unrelatedMs" "$cleanMs")"
printf '  and 20 dead launcher directories swept    %7.2f ms   ratio %s\n' "$sweptMs" "$(ratio "$sweptMs" "$cleanMs")"
