#!/usr/bin/env bash
# Prints the machine of a PE file: "amd64", "i386" or "other".
set -euo pipefail
offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
machine=$(od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' ')
case "$machine" in
  8664) echo amd64 ;;
  014c) echo i386 ;;
  *) echo other ;;
esac
