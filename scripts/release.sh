#!/usr/bin/env bash
# Makes the release archives from the build's dist/: one for Linux and one for
# Windows, each with the four templates, that system's launchergen, the
# bootstrap jar with its sources and API documentation, the configuration
# reference, the examples and the bundle's README; and a SHA-256 file beside.
#
#   release.sh [--quick] [OUTPUT_DIRECTORY]     (default: build/release)
#
# Without --quick everything is built first (scripts/build.sh); with it dist/
# is taken as the build left it, and must be complete and current.
# The archives are reproducible: fixed order, owner and time stamps.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

quick=false
if [ "${1:-}" = --quick ]; then quick=true; shift; fi
output=$(realpath -m "${1:-build/release}")
name=jlaunchkit
version=$(tr -d '[:space:]' <VERSION)
base=$name-$version

$quick || bash scripts/build.sh >/dev/null

common=(guilauncher64.exe guilauncher32.exe svclauncher64.exe svclauncher32.exe launcher-bootstrap.jar)
for file in "${common[@]}" launchergen launchergen.exe; do
  [ -f "dist/$file" ] || { echo "release: dist/$file is missing: run scripts/build.sh" >&2; exit 1; }
done
if ! bash scripts/check-dist-current.sh "$(command -v ninja)" build >/dev/null; then
  echo "release: dist/ is older than the sources: run scripts/build.sh" >&2
  exit 1
fi

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# All files get the commit's time (or the version file's outside a checkout).
stamp=$(git log -1 --format=%ct 2>/dev/null || stat -c %Y VERSION)

# The part both archives share, in $stage/common/$base.
tree=$stage/common/$base
mkdir -p "$tree/docs" "$tree/examples"
for file in "${common[@]}"; do cp "dist/$file" "$tree/"; done
jar_date=$(date -u -d "@$stamp" +%Y-%m-%dT%H:%M:%SZ)
jar --create --date="$jar_date" --file "$tree/launcher-bootstrap-sources.jar" -C java/src/main/java .
javadoc -quiet -notimestamp -Xdoclint:none -encoding UTF-8 -source 8 -d "$stage/javadoc" \
  -sourcepath java/src/main/java org.jlaunchkit.bootstrap >"$stage/javadoc.log" 2>&1 ||
  { cat "$stage/javadoc.log" >&2; exit 1; }
jar --create --date="$jar_date" --file "$tree/launcher-bootstrap-javadoc.jar" -C "$stage/javadoc" .
cp docs/configuration.md "$tree/docs/"
cp -r examples/launcher.toml examples/sample-launcher.toml examples/sample-readme.txt examples/sample-app "$tree/examples/"
mkdir -p "$tree/examples/maven-app"
cp -r examples/maven-app/pom.xml examples/maven-app/src "$tree/examples/maven-app/"
sed "s/@VERSION@/$version/" docs/bundle-readme.md >"$tree/README.md"
find "$stage/common" -exec touch -h -d "@$stamp" {} +

mkdir -p "$output"
linux=$base-linux-x86_64.tar.gz
windows=$base-windows-x86_64.zip
rm -f "$output/$linux" "$output/$windows" "$output/$base.sha256"

mkdir -p "$stage/linux" "$stage/windows"
cp -a "$tree" "$stage/linux/" && cp -a "$tree" "$stage/windows/"
install -m 755 dist/launchergen "$stage/linux/$base/launchergen"
cp dist/launchergen.exe "$stage/windows/$base/launchergen.exe"
touch -d "@$stamp" "$stage/linux/$base/launchergen" "$stage/windows/$base/launchergen.exe" \
  "$stage/linux/$base" "$stage/windows/$base"

tar --sort=name --owner=0 --group=0 --numeric-owner --mtime="@$stamp" -C "$stage/linux" -cf - "$base" |
  gzip -9n >"$output/$linux"
(cd "$stage/windows" && find "$base" -print | LC_ALL=C sort | zip -X -q -9 "$output/$windows" -@)
(cd "$output" && sha256sum "$linux" "$windows" >"$base.sha256")

ls -l "$output/$linux" "$output/$windows" "$output/$base.sha256"
