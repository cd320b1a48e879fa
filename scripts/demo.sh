#!/usr/bin/env bash
# The main job: sets up the machine, builds the four templates, writes a
# sample launcher with the payload tool, lists its payload and runs it under
# Wine with the log switched on, showing what it does.
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

"$repo/scripts/setup.sh" || exit 1
"$repo/scripts/build.sh" || exit 1

tool=build/host/tools/payloadtool
mkdir -p build/demo
for template in dist/*.exe; do "$tool" inspect "$template"; done

launcher=build/demo/sample.exe
"$tool" write --template dist/guilauncher64.exe --config examples/sample-launcher.txt --output "$launcher" || exit 1
echo "== payload of $launcher"
"$tool" dump "$launcher"

echo "== running $launcher under Wine (ZELKOR_LOG=yes)"
"$repo/scripts/wine-prefix.sh" ensure
prefix=$("$repo/scripts/wine-prefix.sh" path)
find "$prefix/drive_c" -maxdepth 6 -name 'btl_nlog*' -delete 2>/dev/null
# "-q_btl_internal" makes the launcher report on standard error instead of a
# message box, so that its message shows up here.
ZELKOR_LOG=yes "$repo/scripts/wine-run.sh" "$launcher" -q_btl_internal -demo-argument
echo "== exit code: $?"
for log in $(find "$prefix/drive_c" -maxdepth 6 -name 'btl_nlog*' 2>/dev/null); do
  echo "== log file $log"
  tr -d '\r' <"$log"
done
"$repo/scripts/wine-prefix.sh" stop
