#!/usr/bin/env bash
# Builds the Debian package the way a distribution builds one: the compiler
# and linker flags of dpkg-buildflags (hardening included), the programs
# only, then cpack. Prints the package and its debug symbols package.
# Usage: scripts/package.sh [BUILD-FOLDER]   (build-package by default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}
umask 022 # the package's files and folders get the modes Debian expects

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
mkdir -p "$build"
log=$build/package-build.log
# The build speaks only when it fails: stdout names the packages.
if ! { cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $cppflags" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $cppflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DLUMETRA_WERROR=OFF -DLUMETRA_TESTS=OFF -DLUMETRA_BENCH=OFF &&
  cmake --build "$build" -j "$(nproc)"; } >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
rm -f "$build"/*.deb "$build"/*.ddeb
(cd "$build" && cpack -G DEB 2>&1 >/dev/null | { grep -v "Generating dependency list" || true; } >&2)
echo "$build"/lumetra_*.deb
echo "$build"/lumetra-dbgsym_*.ddeb
