#!/usr/bin/env bash
# The main job: sets up the machine, builds the four templates, builds a
# sample Java application, writes its launcher from its readable
# configuration (examples/sample-launcher.toml), shows that configuration as
# the launcher carries it and runs it under Wine with the log switched on: the launcher
# finds the real Windows Java runtime, starts its JVM in-process and the
# application's main prints what it was given.
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

"$repo/scripts/setup.sh" || exit 1
"$repo/scripts/build.sh" || exit 1

tool=build/host/tools/launchergen
mkdir -p build/demo
for template in dist/*.exe; do build/host/tools/payloadtool inspect "$template"; done

echo "== building the sample application"
rm -rf build/demo/classes && mkdir -p build/demo/classes
javac --release 8 -Xlint:-options -cp dist/launcher-bootstrap.jar -d build/demo/classes \
  examples/sample-app/org/example/sample/Main.java || exit 1
jar cf build/demo/sample-app.jar -C build/demo/classes . || exit 1

launcher=build/demo/sample.exe
"$tool" build examples/sample-launcher.toml --template dist/guilauncher64.exe --output "$launcher" || exit 1
# A user's own options beside the launcher: this terminal reads UTF-8.
printf -- '-Dsun.stdout.encoding=UTF-8\r\n' >build/demo/sample.vmoptions
echo "== configuration of $launcher"
"$tool" inspect "$launcher"

echo "== running $launcher under Wine (ZELKOR_LOG=yes)"
"$repo/scripts/wine-prefix.sh" ensure
prefix=$("$repo/scripts/wine-prefix.sh" path)
find "$prefix/drive_c" -maxdepth 6 -name 'btl_nlog*' -delete 2>/dev/null
# "-q_btl_internal" makes the launcher report on standard error instead of a
# message box, so that its message shows up here.
# The real Windows runtime of the tests (scripts/real-runtime.sh) is found
# through JAVA_HOME, the second entry of the sample's search sequence.
java_home="Z:$(scripts/real-runtime.sh home | tr / '\\')"
ZELKOR_LOG=yes JAVA_HOME="$java_home" "$repo/scripts/wine-run.sh" "$launcher" -q_btl_internal -demo-argument "café"
echo "== exit code: $?"
for log in $(find "$prefix/drive_c" -maxdepth 6 -name 'btl_nlog*' 2>/dev/null); do
  echo "== log file $log"
  tr -d '\r' <"$log"
done
"$repo/scripts/wine-prefix.sh" stop
