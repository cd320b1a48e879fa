#!/usr/bin/env bash
# Stop latency of the x86-64 service launcher as a real service under Wine:
# from ControlService(STOP) to SERVICE_STOPPED, over 20 runs
# (bench/ServiceStopLatency.cpp measures). The service's child runs the
# stand-in runtime laid out as a JRE beside the launcher; its main reads the
# stop line and returns at once.
#
# Expects dist/svclauncher64.exe, build/win64/bench/service_stop_latency64.exe,
# the stand-in runtime in build/win64/tests/standin/ and
# build/host/tools/payloadtool (bench/run.sh builds them).
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
"$WINELOADER" build/win64/bench/service_stop_latency64.exe "stop bench $$" "$(winPath "$work/app.exe")" \
  "$(winPath "$work/jre/bin/server/standin-jvm-transcript.txt")" "$runs"
