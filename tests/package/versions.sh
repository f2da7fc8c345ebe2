#!/bin/sh
# Each program prints its name and the project version, also on a terminal
# with no display.
# Usage: versions.sh VERSION PROGRAM...
set -u
version=$1
shift
status=0
for program in "$@"; do
  name=$(basename "$program")
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --version 2>&1)
  if [ "$out" != "$name $version" ]; then
    echo "$name --version printed '$out', expected '$name $version'"
    status=1
  fi
done
exit $status
