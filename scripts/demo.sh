#!/usr/bin/env bash
# Sets up, builds and runs Lumetra against its built-in virtual units: the
# desktop application with a demonstration line on COM1 when there is a
# display, otherwise a command-line demonstration.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting the desktop application: COM1 is a virtual line with units at IDs 1 (DQ), 2 (TQ), 3 (CQ), 4 (XQ)."
  exec build/gui/lumetra --demo
fi

cli=build/cli/lumetra-cli
sim=build/sim/lumetra-sim
echo
for type in DQ TQ CQ XQ; do
  echo "== built-in virtual $type unit: identification 0x0400, 0x0402 and machine type 0x0404"
  "$cli" --port "sim:$type" read 0x0400 3
done

echo
echo "== lumetra-sim on a pseudo-terminal: units 3 (TQ) and 10 (DQ), RTU, paced at 9600 baud"
out=$(mktemp)
work=$(mktemp -d)
"$sim" --unit 3:TQ --unit 10:DQ --protocol rtu --pace >"$out" &
simpid=$!
trap 'kill $simpid 2>/dev/null || true; rm -rf "$out" "$work"' EXIT
for _ in $(seq 50); do grep -q ready "$out" && break; sleep 0.1; done
pty=$(sed -n 's/^pty: //p' "$out")
echo "   line at $pty"
"$cli" --port "$pty" --protocol rtu --id 10 --trace read 0x0404
echo "== the description of unit 3, then three polling cycles of its front panel"
"$cli" --port "$pty" --protocol rtu --id 3 describe
"$cli" --port "$pty" --protocol rtu --id 3 monitor --cycles 3 --no-redraw
echo "== a settings file: new, set, show, download (the unit restarts: about 12 s), compare"
"$cli" new --type TQ --mode 0 -o "$work/timer.zqs"
"$cli" set "$work/timer.zqs" cboTimerRange_A_TQ=1 lblTimerSetting_A_TQ=000150
"$cli" show "$work/timer.zqs"
"$cli" --port "$pty" --protocol rtu --id 3 download "$work/timer.zqs"
"$cli" --port "$pty" --protocol rtu --id 3 compare "$work/timer.zqs"
echo "== a unit that is not there (ID 4, time-out 300 ms):"
"$cli" --port "$pty" --protocol rtu --id 4 --timeout 300 read 0x0404 || echo "   exit status $?"
