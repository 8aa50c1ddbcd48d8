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
# The printf formats of site.mes's lines: DATE_SEPARATOR DECIMAL UNIT_OF_m3/d, and in CSV.
lines() { echo "1\\t06${1}12${1}2026\\t15:07:09\\t12${2}50\\tm3/h\\t1${2}500\\t1480\\t\\n2\\t06${1}12${1}2026\\t15:07:10\\t12${2}50\\t$3\\t1${2}500\\t1480\\t\\n"; }
csv_header='\xef\xbb\xbfN\xc2\xb0,Date et heure,D\xc3\xa9bit,Unit\xc3\xa9 Q,Vitesse d'\''\xc3\xa9coulement (m/s),C\xc3\xa9l\xc3\xa9rit\xc3\xa9 du son (m/s),T1,Unit\xc3\xa9 T1,T2,Unit\xc3\xa9 T2,Gain (dB),I.Q. (%%),Kh,Mode Kh,Temps (\xc2\xb5s),DeltaT (ns),Sonde,D. Sonde (mm),\xc3\x89tat\r\n'
# The probe by its name in the catalogue the program keeps, its built-in one until it meets a unit.
csv() { echo "$1,2026-12-06T15:07:$2,12.5,$3,1.5,1480,0,cl,0,cl,0,0,0,Automatique,0,0,SP1-25,0,Pas de D\\xc3\\xa9faut\\r\\n"; }

# Each output alone in the folder, byte for byte. A German locale's decimal
# comma replaces the points of its dates too; --csv is UTF-8 with its
# byte-order mark, every field, a point whatever the locale.
# NAME # LOCALE # ARGUMENTS # OUTPUT # EXPECTED (printf format)
while IFS='#' read -r name locale args output expected; do
  rm -f "$work"/*.prn "$work"/*.csv
  out=$(eval "vantorctl convert $args" 2>&1); rc=$?
  printf "$expected" >"$work/expected"
  check "$name succeeds silently" " 0" "$out $rc"
  check_bytes "$name" "$work/expected" "$work/$output"
  check "$name writes nothing else" "$output" "$(cd "$work" && ls -- *.prn *.csv 2>/dev/null)"
done <<EOF
default output: beside the input, French, the user's locale#en_GB.UTF-8#"$work/site.mes"#site.prn#$french_header$(lines / . m3/j)
--out and --language en#en_GB.UTF-8#"$work/site.mes" --out "$work/other.prn" --language en#other.prn#$english_header$(lines / . m3/d)
--decimal replaces the point#en_GB.UTF-8#"$work/site.mes" --decimal , --out "$work/comma.prn"#comma.prn#$french_header$(lines / , m3/j)
the user's decimal separator by default#de_DE.UTF-8#"$work/site.mes"#site.prn#$french_header$(lines , , m3/j)
--csv writes site.csv beside the input#de_DE.UTF-8#--csv "$work/site.mes"#site.csv#$csv_header$(csv 1 09 m3/h)$(csv 2 10 m3/j)
EOF

locale=en_GB.UTF-8
printf "$english_header$(lines / . m3/d)" >"$work/expected-english.prn"
mkdir -p "$work/config/Software"
printf '[General]\nLanguage=1\n' >"$work/config/Software/VantorPC.ini"
vantorctl convert "$work/site.mes" --out "$work/settings.prn"
check_bytes "the program's language by default" "$work/expected-english.prn" "$work/settings.prn"
rm -rf "$work/config"

printf 'M' >"$work/short.mes"
{ printf '\x38\x00'; zeros 56; } >"$work/unit.eta"
printf 'older output' >"$work/kept.prn"
cp "$work/site.mes" "$work/site.log"
check_table <<EOF
refused file: one-line reason#vantorctl: This file is too short to be a measurement file: $work/short.mes 1#vantorctl --language en convert "$work/short.mes"
in the program's language#vantorctl: Ce fichier est trop court pour être un fichier mesure : $work/short.mes 1#vantorctl convert "$work/short.mes"
missing file#vantorctl: Cannot read the file $work/absent.mes 1#vantorctl --language en convert "$work/absent.mes" --out "$work/kept.prn"
unwritable output, and why#vantorctl: cannot write $work/no/folder.prn: No such file or directory 1#vantorctl --language en convert "$work/site.mes" --out "$work/no/folder.prn"
a name without .mes would overwrite the input#vantorctl: no .mes in the name of $work/site.log, give --out 1#vantorctl --language en convert "$work/site.log"
a settings file is no measurement file#vantorctl: $work/unit.eta is not a measurement file (.mes) 1#vantorctl --language en convert "$work/unit.eta" --out "$work/kept.prn"
--csv and --decimal together are refused#vantorctl: --csv writes numbers with a point: --decimal does not apply to it 1#vantorctl --language en convert --csv --decimal , "$work/site.mes"
EOF
check "refused file: no output" "absent" "$([ -e "$work/short.prn" ] && echo present || echo absent)"
check "missing file keeps the older output" "older output" "$(cat "$work/kept.prn")"
check "the input stays as it was" "0" "$(cmp -s "$work/site.mes" "$work/site.log"; echo $?)"

# The recording itself named as the output, however: refused, the recording kept.
cp "$work/site.mes" "$work/original.mes"
ln -s site.mes "$work/link.mes"
for same in "$work/site.mes" "$work/./site.mes" "$work/link.mes"; do
  out=$(vantorctl --language en convert "$work/site.mes" --out "$same" 2>&1); rc=$?
  check "output $same is the input" "vantorctl: The output file is the input file: $same 1" "$out $rc"
  check_bytes "the recording stays as it was ($same)" "$work/original.mes" "$work/site.mes"
done

out=$(vantorctl convert --language de "$work/site.mes" 2>&1); rc=$?
check "bad language" "vantorctl: --language: de not in {fr,en}; vantorctl --help tells more 1" "$out $rc"

summary
