#!/usr/bin/env bash
# vantorctl through a serial device server (ser2net on the loopback): every
# block read byte for byte as the unit holds it through RFC 2217 and raw TCP,
# 0xFF written through telnet's escape, the scan finds the instrument's speed
# through RFC 2217, and a recording survives a restart of the server: every
# poll answered is in the file, and polling goes on once the server is back.
# usage: network_test.sh VANTORCTL VANTOR_SIM
set -u
ctl=$(readlink -f "$1")
simulator=$2
work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config"
. "$(dirname "$0")/check.sh"
pids=()
trap 'kill "${pids[@]}" "${server:-}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
command -v python3 >/dev/null || give_up "python3 is missing"
ser2net=$(command -v ser2net || echo /usr/sbin/ser2net)
[ -x "$ser2net" ] || give_up "ser2net is missing (scripts/install-deps installs it)"
port=$(free_port) raw=$(free_port)
url=rfc2217://127.0.0.1:$port

# Measurements held still, so that what was read can be compared with what the unit holds.
"$simulator" --baud 4800 --writable-measurement --registers "$work/line.regs" "$work/line" >/dev/null & pids+=($!)
"$simulator" --baud 4800 --address 7 --writable-measurement --registers "$work/raw.regs" "$work/raw" >/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -L "$work/line" ] && [ -L "$work/raw" ] && break; sleep 0.05; done
# The server's line starts at 9600 baud: only a client that sets the speed hears
# the unit. The raw port's line is set to the unit's speed, as a site sets it.
printf 'connection: &meter\n  accepter: telnet(rfc2217),tcp,127.0.0.1,%s\n  connector: serialdev,%s,9600n82,local\n' \
  "$port" "$(readlink -f "$work/line")" >"$work/ser2net.yaml"
printf 'connection: &raw\n  accepter: tcp,127.0.0.1,%s\n  connector: serialdev,%s,4800n82,local\n' \
  "$raw" "$(readlink -f "$work/raw")" >>"$work/ser2net.yaml"
start_server() {
  "$ser2net" -n -u -P "$work/ser2net.pid" -c "$work/ser2net.yaml" >>"$work/ser2net.log" 2>&1 &
  server=$!
  for _ in $(seq 100); do python3 -c "import socket; socket.create_connection(('127.0.0.1', $port)).close()" 2>/dev/null && return; sleep 0.05; done
}
start_server

# The registers a simulator holds, FIRST COUNT of them as vantorctl prints them.
held() {
  local file=$1 first=$(($2)) count=$3 r words=()
  rm -f "$file"; kill -USR1 "$4"
  for _ in $(seq 100); do [ -s "$file" ] && break; sleep 0.05; done
  for ((r = first; r < first + count; r++)); do words+=("$(grep "^$(printf %04X "$r") " "$file" | cut -d' ' -f2)"); done
  echo "${words[*]}"
}
# Every block the program reads: catalogue, measurement, calibration, CAN, factory, maker, address.
for block in 0x5000:120 0x0010:36 0x1100:28 0x111C:4 0x2200:24 0x3000:5 0x111A:1; do
  first=${block%:*} count=${block#*:}
  out=$("$ctl" --device "$url" --baud 4800 read "$first" "$count" 2>&1)
  check "RFC 2217: $block as the unit holds it" "$(held "$work/line.regs" "$first" "$count" "${pids[0]}")" "$out"
  out=$("$ctl" --device "tcp://127.0.0.1:$raw" --address 7 read "$first" "$count" 2>&1)
  check "raw TCP: $block as the unit holds it" "$(held "$work/raw.regs" "$first" "$count" "${pids[1]}")" "$out"
done
# 0xFF in the data goes doubled to the server and arrives as one byte.
"$ctl" --device "$url" --baud 4800 write 0x3000 0xFFFF 0x00FF 0x1234 0xFF01 0
check "0xFF written through RFC 2217" "FFFF 00FF 1234 FF01 0000" "$(held "$work/line.regs" 0x3000 5 "${pids[0]}")"
check "and read back" "FFFF 00FF 1234 FF01 0000" "$("$ctl" --device "$url" --baud 4800 read 0x3000 5 2>&1)"

out=$("$ctl" --language en detect --ports "$url"); rc=$?
check "detect through RFC 2217 finds the unit's speed" "port=0 device=$url baud=4800 address=1 0" "$out $rc"
# Any speed asked of a raw port is heard: the first try, at the default speed, finds it.
out=$("$ctl" --language en detect --ports "tcp://127.0.0.1:$raw"); rc=$?
check "detect through raw TCP: one try, at the server's speed" "port=0 device=tcp://127.0.0.1:$raw baud=9600 address=7 0" \
  "$out $rc"

nobody=127.0.0.1:$(free_port)
check_table <<EOF
nobody listening: the server named with its reason#vantorctl: cannot connect to $nobody: connection refused 1#"$ctl" --language en --device "rfc2217://$nobody" read 0x3000 5
and in French, through raw TCP#vantorctl: connexion impossible à $nobody : connexion refusée 1#"$ctl" --language fr --device "tcp://$nobody" read 0x3000 5
a name without its port cannot be opened#vantorctl: port cannot be opened: rfc2217://gw1 1#"$ctl" --language en --device rfc2217://gw1 read 0x3000 5
EOF

# Polls recorded while the server goes away and comes back.
"$ctl" --language en --device "$url" --baud 4800 poll --interval 200 --record "$work/run.mes" >"$work/polls" 2>&1 &
poller=$!
good() { grep -c '^[0-9]\{4\}-' "$work/polls"; }
for _ in $(seq 200); do [ "$(good)" -ge 3 ] && break; sleep 0.1; done
kill "$server"; wait "$server" 2>/dev/null
for _ in $(seq 200); do grep -q 'Failure' "$work/polls" && break; sleep 0.1; done
start_server
before=$(good)
for _ in $(seq 300); do [ "$(good)" -ge $((before + 3)) ] && break; sleep 0.1; done
kill -INT "$poller"; wait "$poller"
polls=$(good)
check "polls failed while the server was away" "yes" "$(grep -q 'Failure' "$work/polls" && echo yes || echo no)"
check "polling went on once it was back" "yes" "$([ "$polls" -ge $((before + 3)) ] && echo yes || echo no)"
check "the last poll answered" "yes" "$(tail -2 "$work/polls" | head -1 | grep -q '^[0-9]\{4\}-' && echo yes || echo no)"
check "every poll answered is recorded, none other" "$((2 + 77 * polls))" "$(stat -c %s "$work/run.mes")"
[ "$failures" -eq 0 ] || sed 's/^/  | /' "$work/polls"
summary
