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
. "$(dirname "$0")/check.sh"
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null; rm -rf "$work"' EXIT

"$simulator" --baud 9600 --address 3 --registers "$work/registers" "$work/com1" "$work/com2" >"$work/sim.out" &
sim=$!
for _ in $(seq 100); do [ -L "$work/com2" ] && break; sleep 0.05; done

# In English: the program's language (French, until its settings say otherwise) is the tool's.
ctl3() { "$ctl" --device "$work/com1" --baud 9600 --address 3 --language en "$@"; }
check_table <<EOF
read prints hexadecimal words#015E 0001 0000 2AF8 D6D8 0#ctl3 read 0x3000 5
write succeeds silently# 0#ctl3 write 12288 0x0203 260
written values read back#0203 0104 0#ctl3 read 12288 2
missing port#vantorctl: port missing: $work/absent 1#"$ctl" --device "$work/absent" --language en read 0x3000 5
in French by default#vantorctl: port absent : $work/absent 1#"$ctl" --device "$work/absent" read 0x3000 5
nothing connected: where it asked, and what finds the unit#vantorctl: no answer from $work/com2 at 9600 baud, address 3 (vantorctl detect looks for the unit on the ports) 1#"$ctl" --device "$work/com2" --baud 9600 --address 3 --language en read 0x3000 5
wrong speed is silence#vantorctl: no answer from $work/com1 at 2400 baud, address 3 (vantorctl detect looks for the unit on the ports) 1#"$ctl" --device "$work/com1" --baud 2400 --address 3 --language en read 0x3000 5
exception reply, explained#vantorctl: request refused by the instrument (exception 2: register not available) from $work/com1 at 9600 baud, address 3 1#ctl3 read 0x4000 5
a bad value: one line that says how to get help#vantorctl: --address: Value 300 not in range 0 to 255; vantorctl --help tells more 1#"$ctl" --address 300 read 0 1
an unknown command#vantorctl: unknown command 'frob'; vantorctl --help lists them 1#"$ctl" frob
--help goes to standard output#usage: vantorctl [OPTIONS] [SUBCOMMAND] 0#"$ctl" --help 2>/dev/null | head -1
--version#vantorctl 1.0.0 0#"$ctl" --version
raw block image#02 03 01 04 00 00 2A F8 D6 D8 0#ctl3 read-block maker --raw
block parameter with its unit#Ext. Diameter            26.1 mm 0#ctl3 read-block calibration | grep '^Ext. Diameter'
a choice by its text and index#Q Unit                   m3/h (4) 0#ctl3 read-block calibration | grep '^Q Unit'
labels and values in one language#Type Gain                Automatique (1) 0#ctl3 --language fr read-block calibration | grep '^Type Gain'
catalogue# 0 SP1-25 0|14 INS-100 -15| 0#ctl3 catalogue | sed -n '1p;15p;25p' | tr -s ' ' | tr '\n' '|'
extension must match the block#vantorctl: $work/unit.eta: a maker block is saved to a .hdm file 1#ctl3 save-block maker "$work/unit.eta"
no comparison made: exit 2, and why#vantorctl: cannot read $work/missing.eta: No such file or directory 2#ctl3 compare "$work/missing.eta"
a recording is a measurement file#vantorctl: $work/run.txt: a recording is a .mes file 1#ctl3 poll --count 1 --record "$work/run.txt"
polls that fail: exit 1 and a summary#2 polls, 2 failed 1#"$ctl" --device "$work/absent" --language en poll --count 2 --interval 10 2>&1 >/dev/null
detect finds nothing, and says why port by port#vantorctl: no instrument found; $work/absent1: port missing; $work/absent2: port missing 1#"$ctl" --language en detect --ports "$work/absent1,$work/absent2,$work/absent1"
EOF

# Installed: the program's port, speed and address are the tool's defaults.
"$setup" --com3 "$work/com1" >/dev/null
printf '[General]\nCom=2\nBauds=5\nJbus=3\n' >>"$XDG_CONFIG_HOME/Software/VantorPC.ini"
out=$("$ctl" read 0x3000 1); rc=$?
check "settings give port, speed and address" "0203 0" "$out $rc"

# Settings files: what save-block writes, upload sends back and reads again.
for pair in calibration:eta factory:rus maker:hdm can:can; do
  block=${pair%%:*}; ext=${pair##*:}
  out=$(ctl3 save-block "$block" "$work/unit.$ext"); rc=$?
  size=$(stat -c %s "$work/unit.$ext" 2>/dev/null)
  check "save-block $block" "$block block read and saved to $work/unit.$ext 0 $(( $(ctl3 read-block "$block" --raw | wc -w) + 2 ))" "$out $rc $size"
  out=$(ctl3 upload "$work/unit.$ext" 2>&1); rc=$?
  check "upload $block verified" "$work/unit.$ext uploaded and read back: the unit holds it 0" "$out $rc"
done
# A file that gives the unit another address: refused unless asked for, then
# read back where the unit answers from the write on.
{ head -c 55 "$work/unit.eta"; printf '\x05'; tail -c +57 "$work/unit.eta"; } >"$work/address5.eta"
out=$(ctl3 upload "$work/address5.eta" 2>&1); rc=$?
check "an address change must be asked for" \
  "vantorctl: $work/address5.eta gives the unit the Jbus address 5 (it answers at 3): add --address-change to change it 1 0003" \
  "$out $rc $(ctl3 read 0x111A 1)"
out=$(ctl3 upload --address-change "$work/address5.eta" 2>&1); rc=$?
check "the new address, read back there" "$work/address5.eta uploaded and read back: the unit holds it|the unit now answers at Jbus address 5 0" "$(tr '\n' '|' <<<"$out" | sed 's/|$//') $rc"
out=$("$ctl" --device "$work/com1" --baud 9600 --address 5 upload --address-change "$work/unit.eta"); rc=$?
check "and back, said in the program's language" "$work/unit.eta téléchargé et relu : l'unité le contient|l'unité répond maintenant à l'adresse Jbus 3 0 0003" "$(tr '\n' '|' <<<"$out" | sed 's/|$//') $rc $(ctl3 read 0x111A 1)"

printf '\x08\x00\x01\x5e\x00\x01\x00\x00\x2a\xf8' >"$work/length.hdm"
ctl3 write 0x3000 0x0707 >/dev/null
rc=$(ctl3 upload "$work/length.hdm" >/dev/null 2>&1; echo $?)
check "a file of another length is refused before any write" "1 0707" "$rc $(ctl3 read 0x3000 1)"

ctl3 compare "$work/unit.eta" --language en >"$work/report"; rc=$?
check "compare without deviation" "No deviation between the unit and the file 0" "$(tail -1 "$work/report") $rc"
ctl3 write 0x1100 0x0200 >/dev/null
ctl3 compare "$work/unit.eta" --language en >"$work/report"; rc=$?
out=$(tail -2 "$work/report" | tr '\t\n' '|;')
check "compare names the changed value" "Name|Unit Value|File Value;Probe Mounting|Reflex2  (W)|Reflex1  (V); 1" "$out $rc"

# An audit compares what the unit holds: CAG Time 0 lies below its limits (1 to
# 100). A file saved from the unit holds 1, as the dialog shows and saves it.
cag=$(ctl3 read 0x2215 1)
ctl3 write 0x2215 "0x${cag:0:2}00" >/dev/null
ctl3 save-block factory "$work/cag1.rus"
ctl3 compare "$work/cag1.rus" --language en >"$work/report" 2>"$work/report.err"; rc=$?
check "the unit's own value against the file's" "CAG Time|0|1; 1" "$(tail -1 "$work/report" | tr '\t\n' '|;') $rc"
check "a unit value outside its limits is named" "vantorctl: the unit holds a value outside its limits: CAG Time 0 (1 .. 100)" \
  "$(cat "$work/report.err")"
{ head -c 45 "$work/cag1.rus"; printf '\x00'; tail -c +47 "$work/cag1.rus"; } >"$work/cag0.rus"
ctl3 compare "$work/cag0.rus" --language en >"$work/report" 2>/dev/null; rc=$?
check "equal to a file holding the same value" "No deviation between the unit and the file 0" "$(tail -1 "$work/report") $rc"
out=$(ctl3 upload "$work/cag0.rus" 2>&1); rc=$?
check "a value out of its limits is refused, with its value and limits" \
  "vantorctl: $work/cag0.rus holds values the program would not send as they stand: CAG Time 0 (1 .. 100) 1" "$out $rc"
ctl3 write 0x2215 "0x$cag" >/dev/null

# CAN bits that no field reads are named when a file sets them.
ctl3 save-block can "$work/bits.can"
byte6=$(od -An -tx1 -j 8 -N 1 "$work/bits.can" | tr -d ' ')
{ head -c 8 "$work/bits.can"; printf "\\x$(printf '%02x' $(( 0x$byte6 | 0xC0 )))"; tail -c +10 "$work/bits.can"; } >"$work/bits6.can"
out=$(ctl3 upload "$work/bits6.can" 2>&1); rc=$?
check "bits no field reads are named by their byte" \
  "vantorctl: $work/bits6.can holds values the program would not send as they stand: byte 6 1" "$out $rc"

ctl3 write 0x3000 0x0203 >/dev/null
out=$(ctl3 init --maker </dev/null 2>&1); rc=$?
check "init without a terminal needs --yes, and writes nothing" \
  "vantorctl: init erases both totalizers and the blocks named: give --yes to run it without a terminal 1 0203" \
  "$out $rc $(ctl3 read 0x3000 1)"
# On a terminal it asks; Enter answers no.
out=$(printf '\n' | script -qec "'$ctl' --device '$work/com1' --baud 9600 --address 3 --language en init --maker" /dev/null | tr -d '\r'); rc=$?
check "init on a terminal names what it erases; Enter writes nothing" \
  "The initialization will erase in the unit:|- the HYDROMAST settings (default values)|- both totalizers (reset to zero)|- its clock (set to the PC's time)|vantorctl: init not confirmed: nothing written| 0203" \
  "$(echo "$out" | sed 's/^Continue? \[y\/N\] //' | grep -v '^$' | tr '\n' '|') $(ctl3 read 0x3000 1)"
check "and asks" "1" "$(echo "$out" | grep -c 'Continue? \[y/N\]')"
out=$(ctl3 init --maker --yes </dev/null); rc=$?
check "init writes the default maker block at address 0, and says so" \
  "initialised: clock set, totalizers reset, default values written: maker 0 015E 0001 0000 2AF8 D6D8" "$out $rc $(ctl3 read 0x3000 5)"

# An instrument that acknowledges writes without storing them.
"$simulator" --ignore-writes 1 "$work/deaf" >/dev/null &
deaf=$!
for _ in $(seq 100); do [ -L "$work/deaf" ] && break; sleep 0.05; done
out=$("$ctl" --device "$work/deaf" --baud 9600 --address 1 --language en upload "$work/unit.hdm" 2>&1); rc=$?
check "read-back catches a write not stored" \
  "vantorctl: the instrument does not hold what $work/unit.hdm holds: Ref (first part), Ref (second part), Ref (third part) 1" "$out $rc"
out=$("$ctl" --device "$work/deaf" --baud 9600 --address 1 --language en upload --no-verify "$work/unit.hdm" 2>&1); rc=$?
check "no read-back asked" "$work/unit.hdm uploaded (not read back) 0" "$out $rc"
kill "$deaf"; wait "$deaf" 2>/dev/null

# Polling the measurement as the measurement dialog does, recorded to the same file.
out=$(ctl3 poll --count 3 --interval 200 --record "$work/run.mes" | grep -c ' Flow .* m3/h  Speed '); rc=$?
check "poll prints a line per poll" "3 0" "$out $rc"
check "poll records the reply frames" "233 4d00" "$(stat -c %s "$work/run.mes") $(head -c 2 "$work/run.mes" | od -An -tx1 | tr -d ' ')"

# The frame trace a technician sends back: time, direction, bytes, verdict.
ctl3 --trace read 0x3000 1 2>"$work/trace" >/dev/null
out=$(sed -E 's/^ *[0-9]+\.[0-9] ms //' "$work/trace" | tr '\n' '|')
check "trace of a good read" "sent 03 03 30 00 00 01 8A E8  good|recv 03 03 02 01 5E 41 EC  good|" "$out"
# A device the user may not open: the tool says which group opens it.
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null && getent group dialout >/dev/null; then
  locked="$work/locked/ttyUSB9"
  mkdir -p "$work/locked"; chmod 755 "$work" "$work/locked"
  : >"$locked"; chgrp dialout "$locked"; chmod 660 "$locked"
  out=$(setpriv --reuid=65534 --regid=65534 --clear-groups "$ctl" --device "$locked" --language en read 0 1 2>&1); rc=$?
  check "permission denied names the group" \
    "vantorctl: permission denied: $locked (join the group dialout: sudo usermod -aG dialout \$USER, then log in again) 1" "$out $rc"
fi

# A second instrument at 300 baud, address 9, on the second of the scanned ports.
"$simulator" --baud 300 --address 9 "$work/slow" >/dev/null &
slow=$!
for _ in $(seq 100); do [ -L "$work/slow" ] && break; sleep 0.05; done
out=$("$ctl" detect --ports "$work/absent,$work/slow,$work/absent"); rc=$?
check "detect" "port=1 device=$work/slow baud=300 address=9 0" "$out $rc"
# Exactly the ports named, however few.
out=$("$ctl" detect --ports "$work/slow"); rc=$?
check "detect on the one port named" "port=0 device=$work/slow baud=300 address=9 0" "$out $rc"
out=$("$ctl" --device "$work/slow" detect); rc=$?
check "detect on the --device port" "port=0 device=$work/slow baud=300 address=9 0" "$out $rc"
# Kept in the settings, as Options > Connect keeps it: the next command finds the unit there.
out=$("$ctl" --language en detect --ports "$work/slow" --save); rc=$?
check "detect --save" "port=0 device=$work/slow baud=300 address=9|saved in the program's settings: Com3 ($work/slow), 300 baud, address 9 0" \
  "$(tr '\n' '|' <<<"$out" | sed 's/|$//') $rc"
out=$("$ctl" read 0x111A 1); rc=$?
check "the next command goes where detect found the unit" "0009 0" "$out $rc"
kill "$slow"; wait "$slow" 2>/dev/null

# The machine's ports, by their stable names, and which the settings use.
mkdir -p "$work/dev/serial/by-id"
: >"$work/dev/ttyUSB0"; : >"$work/dev/ttyS0"; : >"$work/dev/ttyACM1"; : >"$work/dev/console"
ln -s ../../ttyUSB0 "$work/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K1-if00-port0"
VANTOR_DEVICE_ROOT="$work/dev" "$setup" --com2 "$work/dev/ttyUSB0" >/dev/null
out=$(VANTOR_DEVICE_ROOT="$work/dev" "$ctl" --language en ports); rc=$?
check "ports" "$work/dev/ttyUSB0 $work/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K1-if00-port0 Com2 in the settings|$work/dev/ttyACM1|$work/dev/ttyS0 0" \
  "$(tr -s ' ' <<<"$out" | tr '\n' '|' | sed 's/|$//') $rc"

# A sound velocity below zero, which the simulated flow never gives, shows as 0.
"$simulator" --writable-measurement "$work/bench" >/dev/null &
bench=$!
for _ in $(seq 100); do [ -L "$work/bench" ] && break; sleep 0.05; done
"$ctl" --device "$work/bench" --baud 9600 --address 1 write 28 0xFFF6
out=$("$ctl" --device "$work/bench" --baud 9600 --address 1 --language en poll --count 1 | grep -o ' Velocity [-0-9]* m/s')
check "a negative velocity shows as 0" " Velocity 0 m/s" "$out"
# The flow in its unit, the lists by their texts, the labels' columns counted in characters.
"$ctl" --device "$work/bench" --baud 9600 --address 1 write 16 0x4148 0
out=$("$ctl" --device "$work/bench" --baud 9600 --address 1 --language fr read-block measurement | grep '^Débit  \|^État  \|^Signe T1')
check "the measurement by its units' names" \
  "Débit                    12.5 m3/h|Signe T1                 (+) (1)|État                     Pas de Défaut (0)|" "$(tr '\n' '|' <<<"$out")"
kill "$bench"; wait "$bench" 2>/dev/null

summary
