#!/usr/bin/env bash
# The fleet's measurement feed: examples/fleet/feed.sh pipes vantorctl poll --json
# into mosquitto_pub, one topic per meter, through a broker of the test's own on
# the loopback; mosquitto_sub reads the objects back as a dashboard would.
# usage: feed_test.sh VANTORCTL VANTOR_SIM
set -u
ctl=$1
simulator=$2
work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config"
. "$(dirname "$0")/check.sh"
feed=$(cd "$(dirname "$0")/../../examples/fleet" && pwd)/feed.sh
pids=() feeds=()
# A feed is a pipeline: each runs in a process group of its own, stopped whole.
stop_feeds() { local f; for f in "${feeds[@]}"; do kill -- "-$f" 2>/dev/null; done; feeds=(); }
trap 'stop_feeds; kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
for tool in mosquitto mosquitto_pub mosquitto_sub jq python3; do
  command -v "$tool" >/dev/null || [ -x "/usr/sbin/$tool" ] ||
    give_up "$tool is missing (scripts/install-deps installs it)"
done
broker=$(command -v mosquitto || echo /usr/sbin/mosquitto)
port=$(free_port)

printf 'listener %s 127.0.0.1\nallow_anonymous true\nlog_dest stderr\n' "$port" >"$work/broker.conf"
"$broker" -c "$work/broker.conf" 2>"$work/broker.log" &
pids+=($!)
# Three meters, each on a line of its own.
for meter in north south east; do
  "$simulator" --baud 9600 --address 3 "$work/$meter" >/dev/null &
  pids+=($!)
done
for _ in $(seq 100); do
  [ -L "$work/north" ] && [ -L "$work/south" ] && [ -L "$work/east" ] && mosquitto_pub -p "$port" -t probe -m x 2>/dev/null && break
  sleep 0.05
done

# The subscriber first, so that no object is missed; it is there once it hears a probe.
mosquitto_sub -p "$port" -t 'vantor/#' -t ready -v -W 60 >"$work/heard" &
sub=$!
for _ in $(seq 100); do
  mosquitto_pub -p "$port" -t ready -m x
  grep -q '^ready' "$work/heard" && break
  sleep 0.05
done
export PATH="$(dirname "$ctl"):$PATH"
setsid "$feed" north "$work/north" 3 127.0.0.1 "$port" 200 & feeds+=($!)
setsid "$feed" south "$work/south" 3 127.0.0.1 "$port" 200 & feeds+=($!)
# A meter asked at an address it does not have: its failures are published too.
setsid "$feed" east "$work/east" 9 127.0.0.1 "$port" 200 & feeds+=($!)
heard() { grep -c "^vantor/$1/" "$work/heard"; }
for _ in $(seq 300); do
  [ "$(heard east)" -ge 1 ] && [ "$(heard north)" -ge 3 ] && [ "$(heard south)" -ge 3 ] && break
  sleep 0.1
done
kill "$sub" 2>/dev/null
stop_feeds

for meter in north south; do
  objects=$(grep "^vantor/$meter/measurement " "$work/heard" | cut -d' ' -f2-)
  check "$meter: a poll an object on its own topic" "true" \
    "$([ "$(wc -l <<<"$objects")" -ge 3 ] && echo true || echo false)"
  check "$meter: each a whole poll" "true" \
    "$(jq -s 'all(.ok == true and .flow_unit == "m3/h" and (.flow | type) == "number")' <<<"$objects")"
done
check "a meter that does not answer: its failure, with the reason's code" '"no_answer"' \
  "$(grep '^vantor/east/measurement ' "$work/heard" | head -1 | cut -d' ' -f2- | jq -c 'select(.ok == false) | .reason_code')"
check "feed.sh without its arguments: its usage, status 2" "2" "$("$feed" 2>/dev/null; echo $?)"
summary
