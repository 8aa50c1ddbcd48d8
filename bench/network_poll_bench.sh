#!/usr/bin/env bash
# Processor time of vantorctl polling through a serial device server against
# polling the line itself: 60 polls each, side by side in one run, one through
# ser2net's RFC 2217 port on the loopback and one on the simulator's
# pseudo-terminal. ser2net's own time is the server's, not ours: not counted.
# usage: network_poll_bench.sh BUILD_DIR [POLLS]
set -u
build=$1
polls=${2:-60}
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
ser2net=$(command -v ser2net || echo /usr/sbin/ser2net)
[ -x "$ser2net" ] || { echo "ser2net is missing (scripts/install-deps installs it)" >&2; exit 1; }
# Pollers and simulators on one processor, as in poll_bench.sh.
pin=()
command -v taskset >/dev/null && pin=(taskset -c "$(($(nproc) - 1))")
for line in local remote; do
  "${pin[@]}" "$build/sim/vantor-sim" "$work/$line" >/dev/null &
  pids+=($!)
done
for line in local remote; do for _ in $(seq 100); do [ -L "$work/$line" ] && break; sleep 0.05; done; done
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
printf 'connection: &remote\n  accepter: telnet(rfc2217),tcp,127.0.0.1,%s\n  connector: serialdev,%s,9600n82,local\n' \
  "$port" "$(readlink -f "$work/remote")" >"$work/ser2net.yaml"
"$ser2net" -n -u -P "$work/ser2net.pid" -c "$work/ser2net.yaml" >"$work/ser2net.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do python3 -c "import socket; socket.create_connection(('127.0.0.1', $port)).close()" 2>/dev/null && break; sleep 0.05; done

echo "$polls polls of the measurement, twice a second, both pollers at once in their own halves of each second"
"${pin[@]}" "$build/bench/cpu_time" "vantorctl poll, pseudo-terminal" "$build/tools/vantorctl" --device "$work/local" \
  poll --count "$polls" --interval 500 >"$work/local.polls" 2>"$work/local.out" &
pollers=($!)
sleep 0.25
"${pin[@]}" "$build/bench/cpu_time" "vantorctl poll, rfc2217://" "$build/tools/vantorctl" --device "rfc2217://127.0.0.1:$port" \
  poll --count "$polls" --interval 500 >"$work/remote.polls" 2>"$work/remote.out" &
pollers+=($!)
wait "${pollers[@]}"
for side in local remote; do
  awk -v polls="$(grep -c '^[0-9]\{4\}-' "$work/$side.polls")" '/of processor time/ {
    cpu = $0; sub(/ s of processor.*/, "", cpu); sub(/.*: /, "", cpu)
    printf "%s; %d polls answered, %.2f ms a poll\n", $0, polls, 1000 * cpu / polls }' "$work/$side.out"
done
