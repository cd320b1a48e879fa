#!/usr/bin/env bash
# Builds the fuzz targets and runs each for a while over its kept corpus.
#   fuzz/run.sh [SECONDS per target, default 10]
# New inputs found during the run go to a scratch directory; copy the
# interesting ones into fuzz/corpus/<target>/ to keep them.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
seconds=${1:-10}
cmake --preset fuzz >build-fuzz.log 2>&1 && cmake --build --preset fuzz >>build-fuzz.log 2>&1 || { tail -40 build-fuzz.log; exit 1; }
rm -f build-fuzz.log
status=0
for target in CommandLineFuzz ExpansionFuzz PayloadFuzz LauncherDescriptionFuzz VmOptionsFuzz StreamCopyFuzz RegistryTextFuzz VersionRulesFuzz SearchSequenceFuzz LauncherConfigFuzz ResourceSectionFuzz; do
  scratch=$(mktemp -d)
  echo "== fuzz $target (${seconds}s)"
  if ! build/fuzz/fuzz/$target "$scratch" "fuzz/corpus/$target" -max_total_time="$seconds" -timeout=10 \
       -rss_limit_mb=2048 -artifact_prefix=build/fuzz/ -print_final_stats=0 >"build/fuzz/$target.log" 2>&1; then
    tail -40 "build/fuzz/$target.log"
    status=1
  else
    grep -E '^#[0-9]+.*DONE' "build/fuzz/$target.log" | tail -1 || true
  fi
  rm -rf "$scratch"
done
exit $status
