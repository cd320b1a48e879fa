#!/usr/bin/env bash
# Stop latency of the x86-64 service launcher as a real service under Wine:
# from ControlService(STOP) to SERVICE_STOPPED (bench/ServiceStopLatency.cpp
# measures). First over 20 runs with the stand-in runtime laid out as a JRE
# beside the launcher, whose main reads the stop line and returns at once;
# then with the real Windows runtime over 10 runs each: an application with
# a stop listener (the baseline) and one that knows nothing of the bootstrap
# library, which the bootstrap ends with System.exit(0) through its shutdown
# hooks, and the ratio of their medians.
#
# Expects dist/svclauncher64.exe, build/win64/bench/service_stop_latency64.exe,
# the stand-in runtime in build/win64/tests/standin/, build/host/tools/payloadtool
# and launchergen, and the real runtime's test applications in
# build/host/tests/realruntime/ (bench/run.sh builds them).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

runs=${SERVICE_STOP_RUNS:-20}
work=build/bench-service-stop
standin=build/win64/tests/standin
rm -rf "$work"
mkdir -p "$work/jre/bin/server" "$work/classes/com/zelkor/runtime"
cp "$standin/java.exe" "$standin/javaw.exe" "$work/jre/bin/"
cp "$standin/jvm.dll" "$work/jre/bin/server/"
printf 'banner=java version "11.0.2"\nexit=0\n' >"$work/jre/bin/standin-java.cfg"
printf 'main=sleep,stdin\n' >"$work/jre/bin/server/standin-jvm.cfg"
echo "class bytes" >"$work/classes/com/zelkor/runtime/WinLauncher.class"
build/host/tools/payloadtool write --template dist/svclauncher64.exe --set launcherKind=4 \
  --set "applicationName=Stop Bench" --set "jvmSearchSequence=Rjre;" --set minVersion=1.6 \
  --set "classPath=D0classes;" --output "$work/app.exe" >/dev/null

source scripts/wine-env.sh
scripts/wine-prefix.sh ensure
winPath() { "$WINELOADER" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
"$WINELOADER" build/win64/bench/service_stop_latency64.exe "stand-in runtime" "stop bench $$" \
  "$(winPath "$work/app.exe")" "$(winPath "$work/jre/bin/server/standin-jvm-transcript.txt")" "main sleep" "$runs"

real_home=$(scripts/real-runtime.sh home)
if [ ! -f "$real_home/bin/server/jvm.dll" ]; then
  echo "service stop latency with the real runtime: skipped (scripts/real-runtime.sh ensure fetches it)"
  exit 0
fi
real_runs=${SERVICE_STOP_REAL_RUNS:-10}
apps=build/host/tests/realruntime
# One launcher per application, written by launchergen; "ready" appears once main has run.
realMedian() {
  local label=$1 main=$2 jar=$3 property=$4 dir=$work/$5
  mkdir -p "$dir"
  ln -sfn "$real_home" "$dir/jre"
  cat >"$dir/app.toml" <<TOML
[application]
name = "Stop Bench $5"
mainClass = "$main"
[files]
bootstrapJar = "$repo/dist/launcher-bootstrap.jar"
[[files.embed]]
source = "$repo/$jar"
[java]
search = [{ kind = "bundled", path = "jre" }]
[vm]
options = ["-Xmx64m", '-D$property=$(winPath "$dir/ready")']
TOML
  build/host/tools/launchergen build "$dir/app.toml" --template dist/svclauncher64.exe --output "$dir/app.exe" >/dev/null
  "$WINELOADER" build/win64/bench/service_stop_latency64.exe "$label" "stop bench $5 $$" "$(winPath "$dir/app.exe")" \
    "$(winPath "$dir/ready.running")" "" "$real_runs" | tr -d '\r' | tee "$dir/result.txt" >&2
  sed -E 's/.*median ([0-9.]+) ms.*/\1/' "$dir/result.txt"
}
listener=$(realMedian "real runtime, stop listener" realruntime.ServiceApp "$apps/collector.jar" service.file listener | tail -1)
plain=$(realMedian "real runtime, no listener (shutdown hooks)" realruntime.PlainServer "$apps/plain.jar" plain.file plain | tail -1)
awk -v plain="$plain" -v listener="$listener" \
  'BEGIN { printf "no listener / stop listener (real runtime, medians): %.2f\n", plain / listener }'
