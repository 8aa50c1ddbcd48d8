#!/usr/bin/env bash
# vantorctl's --json outputs read by jq, as a collector reads them: each line
# parses, every field is there with its JSON type.
# usage: json_test.sh VANTORCTL VANTOR_SIM
set -u
ctl=$1
simulator=$2
work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config"
. "$(dirname "$0")/check.sh"
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null; rm -rf "$work"' EXIT
command -v jq >/dev/null || give_up "jq is missing (scripts/install-deps installs it)"

"$simulator" --baud 9600 --address 3 "$work/com1" >/dev/null &
sim=$!
for _ in $(seq 100); do [ -L "$work/com1" ] && break; sleep 0.05; done
ctl3() { "$ctl" --device "$work/com1" --baud 9600 --address 3 "$@"; }

# Every poll: one object per line, each field of the record a number or a text.
numbers='flow flow_speed sound_velocity totalizer1 totalizer2 kh transit_time delta_t gain signal_quality probe_index probe_distance
  flow_unit_index totalizer1_unit_index totalizer2_unit_index kh_mode_index fault_state_index hardware_index model_index'
texts='time instrument_time flow_unit flow_speed_unit sound_velocity_unit totalizer1_unit totalizer1_sign totalizer2_unit
  totalizer2_sign kh_mode transit_time_unit delta_t_unit gain_unit signal_quality_unit probe probe_distance_unit
  fault_state software hardware model'
filter='.ok == true and .fault == false'
for key in $numbers; do filter="$filter and (.$key | type) == \"number\""; done
for key in $texts; do filter="$filter and (.$key | type) == \"string\""; done
ctl3 poll --json --count 2 --interval 200 >"$work/poll.json"; rc=$?
check "poll --json: a line per poll" "2 0" "$(wc -l <"$work/poll.json") $rc"
check "poll --json: every field with its type" "true true" "$(jq -c "$filter" "$work/poll.json" | tr '\n' ' ' | xargs)"
check "poll --json: values in their fields" "true" \
  "$(head -1 "$work/poll.json" | jq '.sound_velocity > 1400 and .sound_velocity < 1600 and (.flow_speed | fabs) < 10 and .flow_unit == "m3/h"
    and .transit_time_unit == "µs" and .fault_state == "Pas de Défaut" and (.time | test("^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9:]{8}[+-][0-9]{2}:[0-9]{2}$"))')"
check "poll --json: no other key" "41" "$(head -1 "$work/poll.json" | jq 'keys | length')"

out=$("$ctl" --device "$work/com1" --baud 9600 --address 4 poll --json --count 1 2>/dev/null); rc=$?
check "a failed poll is an object with its reason and its code" 'false "pas de réponse" "no_answer" true 1' \
  "$(jq -c '.ok, .reason, .reason_code, (.time | type == "string")' <<<"$out" | xargs -d '\n') $rc"
# Any command's failure: one object, whatever the command.
out=$("$ctl" --device "$work/absent" --language en --json read-block maker 2>/dev/null); rc=$?
check "a failed command is an object with its reason and its code" 'false "port missing: '"$work"'/absent" "port_missing" 1' \
  "$(jq -c '.ok, .reason, .reason_code' <<<"$out" | xargs -d '\n') $rc"
out=$("$ctl" --json --address 300 read 0 1 2>/dev/null); rc=$?
check "and so is a bad argument" 'false "usage" 1' "$(jq -c '.ok, .reason_code' <<<"$out" | xargs -d '\n') $rc"

# read-block: the name, the register image and every row's name, value and unit.
ctl3 read-block calibration --json --language en >"$work/block.json"; rc=$?
check "read-block --json" 'calibration 4352 28 0' "$(jq -r '"\(.block) \(.first_register) \(.register_count)"' "$work/block.json") $rc"
check "read-block --json: the raw image" "$(ctl3 read-block calibration --raw)" "$(jq -r .image "$work/block.json")"
check "read-block --json: each row" 'true' \
  "$(jq '(.values | length) == 34 and all(.values[]; (.name | type) == "string" and (.unit | type) == "string" and
    ((.value | type) == "number" or (.value | type) == "string"))' "$work/block.json")"
check "read-block --json: a number and a choice" '{"name":"Ext. Diameter","label":"Ext. Diameter","value":26.1,"unit":"mm"} {"name":"Q Unit","label":"Q Unit","value":4,"text":"m3/h","unit":""}' \
  "$(jq -c '.values[] | select(.name == "Ext. Diameter" or .name == "Q Unit")' "$work/block.json" | xargs -d '\n')"

check "read-block measurement --json: the two speeds by what they are" '"Flow speed" "Sound velocity"' \
  "$(ctl3 read-block measurement --json | jq -c '.values[] | select(.unit == "m/s") | .name' | xargs -d '\n')"

# compare: the deviations, each with both values.
ctl3 save-block calibration "$work/unit.eta"
ctl3 write 0x1100 0x0200 >/dev/null
out=$(ctl3 compare "$work/unit.eta" --json --language en); rc=$?
check "compare --json" '1 "Probe Mounting" 2 1 "Reflex2  (W)" "Reflex1  (V)" [] 1' \
  "$(jq -c '.deviation_count, (.deviations[0] | .name, .unit, .file, .unit_text, .file_text), .outside_limits' <<<"$out" | xargs -d '\n') $rc"
check "compare --json: the file and the time" 'true' \
  "$(jq --arg f "$work/unit.eta" '.file == $f and .block == "calibration" and (.time | type) == "string"' <<<"$out")"

# A name that is not UTF-8 (a Latin-1 byte, as Linux allows): valid JSON all the same.
latin1="$work/caf$(printf '\xe9').eta"
ctl3 save-block calibration "$latin1" >/dev/null
out=$(ctl3 compare "$latin1" --json); rc=$?
check "compare --json with a name that is not UTF-8 is valid JSON" "$work/caf$(printf '\xef\xbf\xbd').eta 0" \
  "$(jq -r '.file' <<<"$out" 2>&1) $rc"

# detect: where the instrument answered.
kill "$sim"; wait "$sim" 2>/dev/null
"$simulator" --baud 300 --address 9 "$work/slow" >/dev/null &
sim=$!
for _ in $(seq 100); do [ -L "$work/slow" ] && break; sleep 0.05; done
out=$("$ctl" detect --json --ports "$work/absent,$work/slow,$work/absent"); rc=$?
check "detect --json" "{\"found\":true,\"port\":1,\"device\":\"$work/slow\",\"baud\":300,\"address\":9} 0" "$(jq -c . <<<"$out") $rc"
out=$("$ctl" detect --json --ports "$work/a1,$work/a2,$work/a3" 2>/dev/null); rc=$?
check "detect --json finds nothing" "false not_found string 1" "$(jq -r '.ok, .reason_code, (.reason | type)' <<<"$out" | xargs) $rc"

summary
