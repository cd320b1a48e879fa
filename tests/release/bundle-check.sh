#!/usr/bin/env bash
# The release archives as a user gets them: made by scripts/release.sh --quick
# from the current dist/, their checksums, the files each must hold, and the
# Linux archive's generator writing and reading a launcher with its own
# template and bootstrap jar, from a folder outside the source tree.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
version=$(tr -d '[:space:]' <"$repo/VERSION")
base=jlaunchkit-$version

bash "$repo/scripts/release.sh" --quick "$work/out"
(cd "$work/out" && sha256sum --quiet -c "$base.sha256")

shared=(README.md guilauncher64.exe guilauncher32.exe svclauncher64.exe svclauncher32.exe
        launcher-bootstrap.jar launcher-bootstrap-sources.jar launcher-bootstrap-javadoc.jar
        docs/configuration.md examples/launcher.toml examples/maven-app/pom.xml)
listing=$(tar -tzf "$work/out/$base-linux-x86_64.tar.gz")
zipped=$(unzip -Z1 "$work/out/$base-windows-x86_64.zip")
for file in "${shared[@]}" launchergen; do
  grep -qx "$base/$file" <<<"$listing" || { echo "bundle: $file missing from the Linux archive" >&2; exit 1; }
done
for file in "${shared[@]}" launchergen.exe; do
  grep -qx "$base/$file" <<<"$zipped" || { echo "bundle: $file missing from the Windows archive" >&2; exit 1; }
done
if grep -q 'launchergen.exe' <<<"$listing" || grep -qx "$base/launchergen" <<<"$zipped"; then
  echo "bundle: an archive carries the other system's generator" >&2
  exit 1
fi
unzip -p "$work/out/$base-windows-x86_64.zip" "$base/launcher-bootstrap-javadoc.jar" >"$work/javadoc.jar"
unzip -l "$work/javadoc.jar" | grep -q 'org/jlaunchkit/bootstrap/Launcher.html' ||
  { echo "bundle: the javadoc jar has no page for Launcher" >&2; exit 1; }

tar -xzf "$work/out/$base-linux-x86_64.tar.gz" -C "$work"
bundle=$work/$base
[ "$("$bundle/launchergen" --version)" = "launchergen $version" ]
printf '[application]\nname = "Bundle Check"\nmainClass = "demo.Main"\n' >"$work/app.toml"
"$bundle/launchergen" build "$work/app.toml" --template "$bundle/guilauncher64.exe" --output "$work/app.exe"
inspected=$("$bundle/launchergen" inspect "$work/app.exe")
grep -q 'Bundle Check' <<<"$inspected" || { echo "bundle: inspect does not name the application" >&2; exit 1; }
"$bundle/launchergen" inspect "$work/app.exe" --raw | grep -q 'launcher-bootstrap.jar' ||
  { echo "bundle: the launcher does not embed the bundle's bootstrap jar" >&2; exit 1; }
echo "bundle: both archives complete, checksums match, the Linux generator writes launchers"
