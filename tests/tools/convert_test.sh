#!/usr/bin/env bash
# vantorctl convert on measurement files crafted byte by byte.
# usage: convert_test.sh VANTORCTL
set -u
work=$(mktemp -d)
# The program's settings of this test, never the user's.
export XDG_CONFIG_HOME="$work/config"
# The user's locale: British unless a case says otherwise (through env, so
# that the shell itself never needs the locale installed).
locale=en_GB.UTF-8
binary=$1
vantorctl() { env LC_ALL="$locale" "$binary" "$@"; }
. "$(dirname "$0")/check.sh"
trap 'rm -rf "$work"' EXIT

zeros() { head -c "$1" /dev/zero; }

# One reply frame: 6 Dec 2026 15:07:SECOND, flow 12.5, speed 1.5, velocity
# 1480, flow unit UNIT; the CRC is not checked.
frame() {  # frame UNIT SECOND (two hexadecimal digits each)
  printf '\x01\x03\x48'
  printf '\x41\x48\x00\x00\x3f\xc0\x00\x00'  # flow, speed
  zeros 10
  printf "\\x$1"                             # flow unit, byte 18
  zeros 5
  printf '\x05\xc8'                          # velocity, bytes 24-25
  zeros 12
  printf "\\x0c\\x1a\\x0f\\x06\\x$2\\x07"    # month, year, hour, day, second, minute
  zeros 28
  printf '\x12\x34'
}

{ printf '\x4d\x00'; frame 04 09; frame 05 0a; printf '\x01'; } >"$work/site.mes"

french_header='N\xb0\tDate\tHeure\tD\xe9bit\tUnit\xe9 Q\tVitesse\tC\xe9l\xe9rit\xe9\n'
english_header='N\xb0\tDate\tTime\tFlow\tQ Unit\tSpeed\tVelocity\n'

printf "$french_header"'1\t06/12/2026\t15:07:09\t12.50\tm3/h\t1.500\t1480\t\n2\t06/12/2026\t15:07:10\t12.50\tm3/j\t1.500\t1480\t\n' \
  >"$work/expected-default.prn"
out=$(vantorctl convert "$work/site.mes" 2>&1); rc=$?
check "default output succeeds silently" " 0" "$out $rc"
check_bytes "default output: beside the input, French, the user's locale" "$work/expected-default.prn" "$work/site.prn"

rm -f "$work/site.prn"
printf "$english_header"'1\t06/12/2026\t15:07:09\t12.50\tm3/h\t1.500\t1480\t\n2\t06/12/2026\t15:07:10\t12.50\tm3/d\t1.500\t1480\t\n' \
  >"$work/expected-english.prn"
vantorctl convert "$work/site.mes" --out "$work/other.prn" --language en; rc=$?
check "--out and --language en succeed" "0" "$rc"
check_bytes "--language en writes English texts" "$work/expected-english.prn" "$work/other.prn"
check "--out writes nothing under the default name" "absent" "$([ -e "$work/site.prn" ] && echo present || echo absent)"

printf "$french_header"'1\t06/12/2026\t15:07:09\t12,50\tm3/h\t1,500\t1480\t\n2\t06/12/2026\t15:07:10\t12,50\tm3/j\t1,500\t1480\t\n' \
  >"$work/expected-comma.prn"
vantorctl convert "$work/site.mes" --decimal , --out "$work/comma.prn"
check_bytes "--decimal replaces the point" "$work/expected-comma.prn" "$work/comma.prn"

# A German locale: its decimal comma replaces the points of its dates too.
printf "$french_header"'1\t06,12,2026\t15:07:09\t12,50\tm3/h\t1,500\t1480\t\n2\t06,12,2026\t15:07:10\t12,50\tm3/j\t1,500\t1480\t\n' \
  >"$work/expected-german.prn"
locale=de_DE.UTF-8 vantorctl convert "$work/site.mes" --out "$work/german.prn"
check_bytes "the user's decimal separator by default" "$work/expected-german.prn" "$work/german.prn"

# --csv: UTF-8 with its byte-order mark, every field, a point whatever the locale.
{ printf '\xef\xbb\xbfN\xc2\xb0,Date et heure,D\xc3\xa9bit,Unit\xc3\xa9 Q,Vitesse (m/s),C\xc3\xa9l\xc3\xa9rit\xc3\xa9 (m/s),'
  printf 'T1,Unit\xc3\xa9 T1,T2,Unit\xc3\xa9 T2,Gain (dB),I.Q. (%%),Kh,Mode Kh,Temps (\xc2\xb5s),DeltaT (ns),Sonde,'
  printf 'D. Sonde (mm),Etat\r\n'
  printf '1,2026-12-06T15:07:09,12.5,m3/h,1.5,1480,0,cl,0,cl,0,0,0,Automatique,0,0,0,0,Pas de D\xc3\xa9faut\r\n'
  printf '2,2026-12-06T15:07:10,12.5,m3/j,1.5,1480,0,cl,0,cl,0,0,0,Automatique,0,0,0,0,Pas de D\xc3\xa9faut\r\n'
} >"$work/expected.csv"
locale=de_DE.UTF-8 vantorctl convert --csv "$work/site.mes"; rc=$?
check "--csv succeeds" "0" "$rc"
check_bytes "--csv writes site.csv beside the input" "$work/expected.csv" "$work/site.csv"

mkdir -p "$work/config/Software"
printf '[General]\nLanguage=1\n' >"$work/config/Software/VantorPC.ini"
vantorctl convert "$work/site.mes" --out "$work/settings.prn"
check_bytes "the program's language by default" "$work/expected-english.prn" "$work/settings.prn"
rm -rf "$work/config"

printf 'M' >"$work/short.mes"
out=$(vantorctl convert "$work/short.mes" 2>&1); rc=$?
check "refused file: one-line reason" "vantorctl: This file is too short to be a measurement file: $work/short.mes 1" "$out $rc"
check "refused file: no output" "absent" "$([ -e "$work/short.prn" ] && echo present || echo absent)"

printf 'older output' >"$work/kept.prn"
out=$(vantorctl convert "$work/absent.mes" --out "$work/kept.prn" 2>&1); rc=$?
check "missing file" "vantorctl: Cannot read the file $work/absent.mes 1" "$out $rc"
check "missing file keeps the older output" "older output" "$(cat "$work/kept.prn")"

out=$(vantorctl convert "$work/site.mes" --out "$work/no/folder.prn" 2>&1); rc=$?
check "unwritable output" "vantorctl: cannot write $work/no/folder.prn 1" "$out $rc"

cp "$work/site.mes" "$work/site.log"
out=$(vantorctl convert "$work/site.log" 2>&1); rc=$?
check "a name without .mes would overwrite the input" "vantorctl: no .mes in the name of $work/site.log, give --out 1" "$out $rc"
check "the input stays as it was" "0" "$(cmp -s "$work/site.mes" "$work/site.log"; echo $?)"

# The recording itself named as the output, however: refused, the recording kept.
cp "$work/site.mes" "$work/original.mes"
ln -s site.mes "$work/link.mes"
for same in "$work/site.mes" "$work/./site.mes" "$work/link.mes"; do
  out=$(vantorctl convert "$work/site.mes" --out "$same" 2>&1); rc=$?
  check "output $same is the input" "vantorctl: The output file is the input file: $same 1" "$out $rc"
  check_bytes "the recording stays as it was ($same)" "$work/original.mes" "$work/site.mes"
done

out=$(vantorctl convert --language de "$work/site.mes" 2>&1); rc=$?
check "bad language" "vantorctl: convert takes FILE.mes [--csv] [--out FILE.prn|FILE.csv] [--language fr|en] [--decimal C] 1" "$out $rc"

summary
