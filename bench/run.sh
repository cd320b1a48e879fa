#!/usr/bin/env bash
# Builds the x86-64 benchmarks and runs them under Wine: the extraction copy,
# the warm runtime search and the launchers' start-up up to the JVM
# (bench/startup.sh, which runs the stand-in runtime of the tests) and the
# stop latency of a real service (bench/service-stop.sh).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target extraction_bench search_bench guilauncher svclauncher \
  startup_baseline_gui startup_baseline_console standin_java standin_javaw standin_jvm service_stop_latency >/dev/null
cmake --preset host >/dev/null && cmake --build --preset host --target payloadtool launchergen realruntime_collector realruntime_plain >/dev/null
scripts/wine-run.sh build/win64/bench/extraction_bench64.exe
# The search runs in a prefix of its own: the tests' prefix keeps keys that
# scenarios registered, which every search would walk.
WINEPREFIX="$repo/build/bench-prefix" scripts/wine-run.sh build/win64/bench/search_bench64.exe
WINEPREFIX="$repo/build/bench-prefix" scripts/wine-prefix.sh stop
bench/startup.sh
bench/service-stop.sh
scripts/wine-prefix.sh stop
