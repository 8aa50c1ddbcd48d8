#!/usr/bin/env bash
# Processor time of polling the measurement once a second against vantor-sim,
# the three pollers side by side in one run: the measurement dialog, vantorctl
# poll and, for comparison, mbpoll reading the same 36 registers (installed
# from Debian when missing, as root). usage: poll_bench.sh BUILD_DIR [SECONDS]
set -u
build=$1
seconds=${2:-60}
work=$(mktemp -d)
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null; rm -rf "$work"' EXIT

if ! command -v mbpoll >/dev/null; then
  if [ "$(id -u)" -eq 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends mbpoll >/dev/null ||
      { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends mbpoll >/dev/null; }
  else
    echo "mbpoll is missing (run as root to install it): no comparison" >&2
  fi
fi

"$build/sim/vantor-sim" "$work/com1" >/dev/null &
sim=$!
for _ in $(seq 100); do [ -L "$work/com1" ] && break; sleep 0.05; done

echo "polling once a second for $seconds s; load before: $(cut -d' ' -f1-3 /proc/loadavg)"
# Each poller in turn on the same simulated line; cpu_time reports user +
# system time to the microsecond, the program's start included.
"$build/bench/dialog_poll_bench" "$work/com1" "$seconds"
"$build/bench/cpu_time" "vantorctl poll" "$build/tools/vantorctl" --device "$work/com1" --baud 9600 --address 1 \
  poll --count "$seconds" >/dev/null
if command -v mbpoll >/dev/null; then
  # Registers 17 to 52 in mbpoll's one-based numbering are 16 to 51 on the wire.
  "$build/bench/cpu_time" "mbpoll" --stop-after "$seconds" mbpoll -m rtu -b 9600 -P none -s 2 -a 1 -t 4 -r 17 -c 36 \
    -l 1000 -q "$work/com1" >/dev/null
fi
# What a command-line poller spends once, on starting and its first poll:
# the rest of its figure above is the steady cost of polling.
"$build/bench/cpu_time" "vantorctl poll, start and one poll" "$build/tools/vantorctl" --device "$work/com1" \
  --baud 9600 --address 1 poll --count 1 >/dev/null
if command -v mbpoll >/dev/null; then
  "$build/bench/cpu_time" "mbpoll, start and one poll" mbpoll -m rtu -b 9600 -P none -s 2 -a 1 -t 4 -r 17 -c 36 \
    -1 -q "$work/com1" >/dev/null
fi
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
