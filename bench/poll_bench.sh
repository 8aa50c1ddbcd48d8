#!/usr/bin/env bash
# Processor time of polling the measurement once a second against vantor-sim,
# the three pollers side by side in one run, in the same minute: the measurement
# dialog, vantorctl poll and, for comparison, mbpoll reading the same 36
# registers (installed from Debian when missing, as root).
# usage: poll_bench.sh BUILD_DIR [SECONDS]
set -u
build=$1
seconds=${2:-60}
work=$(mktemp -d)
sim=
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null; rm -rf "$work"' EXIT

if ! command -v mbpoll >/dev/null; then
  if [ "$(id -u)" -eq 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends mbpoll >/dev/null ||
      { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends mbpoll >/dev/null; }
  else
    echo "mbpoll is missing (run as root to install it): no comparison" >&2
  fi
fi

# One simulator per poller, so that the three poll at the same time: the
# machine's noise (another guest on the host, a busy disk) then falls on all
# three alike, where pollers run one after the other can each meet a different
# load, and their figures cannot be compared.
# Two more lines for the start-up figures below: a line a stopped poller left
# in the middle of a reply would answer them with its rest.
# Every poller and every simulator on one processor: a poller woken by a
# simulator on the other processor pays for an interrupt between processors,
# which on a virtual machine costs more than the wake-up itself, and where
# each process happened to land changed a poller's figure up to threefold.
pin=()
if command -v taskset >/dev/null; then
  pin=(taskset -c "$(($(nproc) - 1))")
fi
lines="dialog ctl mbpoll ctl-start mbpoll-start"
sims=()
for line in $lines; do
  "${pin[@]}" "$build/sim/vantor-sim" "$work/$line" >/dev/null &
  sims+=($!)
done
sim="${sims[*]}"
for line in $lines; do
  for _ in $(seq 100); do [ -L "$work/$line" ] && break; sleep 0.05; done
done

echo "polling once a second for $seconds s, the three pollers at once, each in its own part of the second; load before: $(cut -d' ' -f1-3 /proc/loadavg)"
# Pollers polling in step have their replies come in together, byte by byte,
# and every wake-up switches between them; one that drifts past the others
# meets them only now and then. Neither is how a poller runs alone.
# So each poller keeps its own part of every second: vantorctl polls at 0 s,
# mbpoll at 0.3 s and the window at about 0.5 s (its first tick comes a second
# after its window opens, which takes it about a tenth of a second); a poll
# holds the line a quarter of a second at the most.
# cpu_time reports user + system time to the microsecond, the program's start included.
"${pin[@]}" "$build/bench/cpu_time" "vantorctl poll" "$build/tools/vantorctl" --device "$work/ctl" --baud 9600 --address 1 \
  poll --count "$seconds" 2>"$work/ctl.out" >"$work/ctl.polls" &
pollers=($!)
sleep 0.3
if command -v mbpoll >/dev/null; then
  # Registers 17 to 52 in mbpoll's one-based numbering are 16 to 51 on the wire.
  # mbpoll pauses -l ms after each poll, which takes it 106 ms here: a pause
  # of 894 ms keeps it once a second, in its part of the second.
  "${pin[@]}" "$build/bench/cpu_time" "mbpoll" --stop-after "$seconds" mbpoll -m rtu -b 9600 -P none -s 2 -a 1 -t 4 -r 17 -c 36 \
    -l 894 -q "$work/mbpoll" 2>"$work/mbpoll.out" >"$work/mbpoll.polls" &
  pollers+=($!)
fi
sleep 0.1
"${pin[@]}" "$build/bench/dialog_poll_bench" "$work/dialog" "$seconds" >"$work/dialog.out" 2>&1 &
pollers+=($!)
wait "${pollers[@]}"
grep -h "of processor time" "$work/dialog.out"
# mbpoll's -l is the pause between two polls, not their period, which may
# differ from a second on another machine. Each poller's processor time for
# one poll, then, and what it makes for one poll a second over the run.
per_poll() {  # NAME OUTPUT POLLS
  local polls=$3
  awk -v name="$1" -v polls="$polls" -v seconds="$seconds" '/of processor time/ {
    cpu = $0; sub(/ s of processor.*/, "", cpu); sub(/.*: /, "", cpu); printf "%s; %d polls, %.2f ms each: %.3f s at one poll a second over %d s\n",
      $0, polls, 1000 * cpu / polls, cpu * seconds / polls, seconds }' "$2"
}
per_poll "vantorctl poll" "$work/ctl.out" "$(grep -c ' flow ' "$work/ctl.polls")" | tee "$work/ctl.line"
if [ -s "$work/mbpoll.out" ]; then
  per_poll mbpoll "$work/mbpoll.out" "$(grep -c '^\[17\]:' "$work/mbpoll.polls")" | tee "$work/mbpoll.line"
  # The targets: vantorctl at most mbpoll's time, the window at most twice it.
  awk '/^measurement dialog/ { sub(/^[^:]*: /, ""); window = $1 }
       /^vantorctl poll/ { sub(/.*: /, ""); ctl = $1 }
       /^mbpoll/ { sub(/.*: /, ""); mb = $1 }
       END { if (mb > 0) printf "against mbpoll at one poll a second: vantorctl poll %.2f times, the window %.2f times\n",
         ctl / mb, window / mb }' "$work/dialog.out" "$work/ctl.line" "$work/mbpoll.line"
fi
# What a command-line poller spends once, on starting and its first poll:
# the rest of its figure above is the steady cost of polling.
"${pin[@]}" "$build/bench/cpu_time" "vantorctl poll, start and one poll" "$build/tools/vantorctl" --device "$work/ctl-start" \
  --baud 9600 --address 1 poll --count 1 >/dev/null
if command -v mbpoll >/dev/null; then
  "${pin[@]}" "$build/bench/cpu_time" "mbpoll, start and one poll" mbpoll -m rtu -b 9600 -P none -s 2 -a 1 -t 4 -r 17 -c 36 \
    -1 -q "$work/mbpoll-start" >/dev/null
fi
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
