#!/usr/bin/env bash
# vantorctl and vantor-sim as a script would use them.
# usage: vantorctl_test.sh VANTORCTL VANTOR_SIM
set -u
ctl=$1
simulator=$2
work=$(mktemp -d)
# The program's settings of this test, never the user's.
export XDG_CONFIG_HOME="$work/config"
setup=$(dirname "$ctl")/vantor-setup
failures=0
passes=0
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null; rm -rf "$work"' EXIT

check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then
    passes=$((passes + 1))
  else
    echo "FAILED: $1"
    echo "  expected: $2"
    echo "  actual:   $3"
    failures=$((failures + 1))
  fi
}

"$simulator" --baud 4800 --address 3 --registers "$work/registers" "$work/com1" "$work/com2" >"$work/sim.out" &
sim=$!
for _ in $(seq 100); do [ -L "$work/com2" ] && break; sleep 0.05; done

out=$("$ctl" --device "$work/com1" --baud 4800 --address 3 read 0x3000 5); rc=$?
check "read prints hexadecimal words" "015E 0001 0000 2AF8 D6D8 0" "$out $rc"

out=$("$ctl" --device "$work/com1" --baud 4800 --address 3 write 12288 0x0203 260); rc=$?
check "write succeeds silently" " 0" "$out $rc"
out=$("$ctl" --device "$work/com1" --baud 4800 --address 3 read 12288 2)
check "written values read back" "0203 0104" "$out"

kill -USR1 "$sim"
for _ in $(seq 100); do [ -f "$work/registers" ] && break; sleep 0.05; done
check "registers file holds the write" "3001 0104" "$(grep '^3001 ' "$work/registers")"

# Installed: the program's port, speed and address are the tool's defaults.
"$setup" --com3 "$work/com1" >/dev/null
printf '[General]\nCom=2\nBauds=4\nJbus=3\n' >>"$XDG_CONFIG_HOME/Software/VantorPC.ini"
out=$("$ctl" read 0x3000 1); rc=$?
check "settings give port, speed and address" "0203 0" "$out $rc"

out=$("$ctl" --device "$work/absent" read 0x3000 5 2>&1); rc=$?
check "missing port" "vantorctl: port missing: $work/absent 1" "$out $rc"

out=$("$ctl" --device "$work/com2" --baud 4800 --address 3 read 0x3000 5 2>&1); rc=$?
check "nothing connected" "vantorctl: no answer 1" "$out $rc"

out=$("$ctl" --device "$work/com1" --baud 9600 --address 3 read 0x3000 5 2>&1); rc=$?
check "wrong speed is silence" "vantorctl: no answer 1" "$out $rc"

out=$("$ctl" --device "$work/com1" --baud 4800 --address 3 read 0x4000 5 2>&1); rc=$?
check "exception reply" "vantorctl: bad reply 1" "$out $rc"

out=$("$ctl" --device "$work/com1" read 0x3000 200 2>&1); rc=$?
check "count out of range" "vantorctl: read takes FIRST (0 to 0xFFFF) and COUNT (1 to 125) 1" "$out $rc"

"$ctl" --device "$work/com1" --baud 1234 read 0 1 >/dev/null 2>&1
check "unsupported speed" "1" "$?"

out=$("$ctl" --device "$work/com1" --baud 4800 --address 3 read-block maker --raw); rc=$?
check "raw block image" "02 03 01 04 00 00 2A F8 D6 D8 0" "$out $rc"

out=$("$ctl" --device "$work/com1" --baud 4800 --address 3 read-block calibration | grep '^Ext. Diameter')
check "block parameter with its unit" "Ext. Diameter        26.1 mm" "$out"

out=$("$ctl" --device "$work/com1" --baud 4800 --address 3 read-block nothing 2>&1); rc=$?
check "unknown block" "vantorctl: read-block takes one of calibration, factory, maker, can, measurement 1" "$out $rc"

out=$("$ctl" --device "$work/com1" --baud 4800 --address 3 catalogue | sed -n '1p;15p;25p' | tr -s ' ' | tr '\n' '|')
check "catalogue" " 0 SP1-25 0|14 INS-100 -15|" "$out"

# A second instrument at 300 baud, address 9, on the second of the scanned ports.
"$simulator" --baud 300 --address 9 "$work/slow" >/dev/null &
slow=$!
for _ in $(seq 100); do [ -L "$work/slow" ] && break; sleep 0.05; done
out=$("$ctl" detect --ports "$work/absent,$work/slow,$work/absent"); rc=$?
check "detect" "port=1 device=$work/slow baud=300 address=9 0" "$out $rc"
kill "$slow"; wait "$slow" 2>/dev/null

out=$("$ctl" detect --ports "$work/absent1,$work/absent2,$work/absent3" 2>&1); rc=$?
check "detect finds nothing" "vantorctl: no instrument found on $work/absent1, $work/absent2, $work/absent3 1" "$out $rc"

kill "$sim"; wait "$sim" 2>/dev/null
check "links removed at the end" "absent" "$([ -e "$work/com1" ] || [ -L "$work/com1" ] && echo present || echo absent)"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
