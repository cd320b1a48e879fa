#!/usr/bin/env bash
# Fails when a launcher template in dist/, or launchergen.exe, is not what its
# cross build would make from the sources as they are now. The host build does
# not build them (the win64 and win32 presets do), so a host-only rebuild after
# a change in src/ or tools/ leaves the old ones in dist/, and the scenario and
# template tests would quietly test those.
#
#   check-dist-current.sh NINJA BUILD_ROOT
#
# Asks ninja, in each cross build tree under BUILD_ROOT, whether the template
# targets have work to do (a dry run: nothing is built or written). That is
# the build's own answer: a change to a source, a header, a CMake file or a
# compile option counts, a change to a file the templates do not use does not.
set -uo pipefail
ninja=$1
build_root=$2
stale=0
for preset in win64 win32; do
  tree=$build_root/$preset
  if [ ! -f "$tree/build.ninja" ]; then
    echo "dist-current: no $preset build at $tree, so nothing tells whether its templates in dist/ are current;" \
      "build it: scripts/build.sh (or cmake --preset $preset && cmake --build --preset $preset)" >&2
    stale=1
    continue
  fi
  targets=(guilauncher svclauncher)
  [ "$preset" = win64 ] && targets+=(launchergen)
  plan=$("$ninja" -C "$tree" -n "${targets[@]}" 2>&1)
  if ! grep -q '^ninja: no work to do\.$' <<<"$plan"; then
    echo "dist-current: the $preset programs in dist/ are older than their sources; rebuild them before" \
      "testing: cmake --build --preset $preset (or scripts/build.sh). Pending steps:" >&2
    grep -v '^ninja: Entering directory' <<<"$plan" | head -5 | sed 's/^/    /' >&2
    stale=1
  fi
done
[ "$stale" -eq 0 ] && echo "dist-current: the win64 and win32 templates and launchergen.exe in dist/ are current"
exit "$stale"
