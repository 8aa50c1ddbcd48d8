#!/usr/bin/env bash
# Processor time of polling the measurement once a second against vantor-sim:
# the measurement dialog, vantorctl poll and, for comparison, mbpoll reading the
# same 36 registers. usage: poll_bench.sh BUILD_DIR [SECONDS]
set -u
build=$1
seconds=${2:-60}
work=$(mktemp -d)
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null; rm -rf "$work"' EXIT
"$build/sim/vantor-sim" "$work/com1" >/dev/null &
sim=$!
for _ in $(seq 100); do [ -L "$work/com1" ] && break; sleep 0.05; done

# User + system time of a command over its wall time, from GNU time's figures.
share() {  # share NAME COMMAND...
  local name=$1; shift
  /usr/bin/time -o "$work/time" -f '%U %S %e' "$@" >/dev/null 2>&1
  awk -v name="$name" '{ printf "%s: %.2f s of processor time over %.1f s: %.2f%% of one core\n", name, $1 + $2, $3, 100 * ($1 + $2) / $3 }' <(tail -1 "$work/time")
}

if [ ! -x /usr/bin/time ]; then
  echo "GNU time (/usr/bin/time) is missing: apt-get install time" >&2
  exit 1
fi
"$build/bench/dialog_poll_bench" "$work/com1" "$seconds"
share "vantorctl poll" "$build/tools/vantorctl" --device "$work/com1" --baud 9600 --address 1 poll --count "$seconds"
if command -v mbpoll >/dev/null; then
  # Registers 17 to 52 in mbpoll's one-based numbering are 16 to 51 on the wire.
  share "mbpoll" timeout -s INT "$seconds" mbpoll -m rtu -b 9600 -P none -s 2 -a 1 -t 4 -r 17 -c 36 -l 1000 -q "$work/com1"
else
  echo "mbpoll is missing (apt-get install mbpoll): no comparison"
fi
