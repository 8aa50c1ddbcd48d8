#!/usr/bin/env bash
# Wall time of reading a unit's configuration at 9600 baud, one process a read
# as a script would run them: the probe catalogue and the calibration, CAN,
# factory and maker blocks. vantorctl, mbpoll (libmodbus) for the same
# registers, and, when given, another vantorctl (an earlier build, for a before
# and after) take turns on the same simulator in one run, against the line's
# own time: the request and reply at 11 bits a byte and the unit's turnaround.
# usage: configuration_bench.sh BUILD_DIR [OTHER_VANTORCTL] [ROUNDS]
set -u
build=$1
other=${2:-}
rounds=${3:-10}
work=$(mktemp -d)
sim=
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null; rm -rf "$work"' EXIT
command -v mbpoll >/dev/null || echo "mbpoll is missing (bench/poll_bench.sh installs it): no comparison" >&2

turnaround=5
"$build/sim/vantor-sim" --turnaround "$turnaround" "$work/line" >/dev/null &
sim=$!
for _ in $(seq 100); do [ -L "$work/line" ] && break; sleep 0.05; done

reads=(0x5000:120 0x1100:28 0x111C:4 0x2200:24 0x3000:5)
line_ms() {  # COUNT: the read's time on the line
  awk -v n="$1" -v t="$turnaround" 'BEGIN { printf "%.1f", (8 + 5 + 2 * n) * 11 * 1000 / 9600 + t }'
}
now_ms() { date +%s%N | cut -c1-13; }

# One read by each reader in turn, so that none meets a quieter machine than another.
readers=("vantorctl")
[ -n "$other" ] && readers+=("given vantorctl")
command -v mbpoll >/dev/null && readers+=("mbpoll")
run() {  # READER FIRST COUNT
  case $1 in
    vantorctl) "$build/tools/vantorctl" --device "$work/line" read "$2" "$3" ;;
    "given vantorctl") "$other" --device "$work/line" read "$2" "$3" ;;
    mbpoll) mbpoll -m rtu -b 9600 -P none -s 2 -a 1 -t 4 -r $(($2 + 1)) -c "$3" -1 -q "$work/line" ;;
  esac >/dev/null 2>&1
}
declare -A total
for ((round = 0; round < rounds; round++)); do
  for read in "${reads[@]}"; do
    for reader in "${readers[@]}"; do
      start=$(now_ms)
      run "$reader" "${read%:*}" "${read#*:}" || echo "$reader: $read failed" >&2
      total[$reader,$read]=$((${total[$reader,$read]:-0} + $(now_ms) - start))
    done
  done
done

printf '%-12s %8s' "registers" "line"
for reader in "${readers[@]}"; do printf ' %16s' "$reader"; done
echo
sum_line=0
declare -A sum
for read in "${reads[@]}"; do
  printf '%-12s %6s ms' "$read" "$(line_ms "${read#*:}")"
  sum_line=$(awk -v a="$sum_line" -v b="$(line_ms "${read#*:}")" 'BEGIN { print a + b }')
  for reader in "${readers[@]}"; do
    mean=$(awk -v t="${total[$reader,$read]}" -v r="$rounds" 'BEGIN { printf "%.0f", t / r }')
    sum[$reader]=$((${sum[$reader]:-0} + mean))
    printf ' %13s ms' "$mean"
  done
  echo
done
printf '%-12s %6s ms' "all five" "$sum_line"
for reader in "${readers[@]}"; do printf ' %13s ms' "${sum[$reader]}"; done
echo
echo "(means over $rounds rounds; a whole process each, its start and the port's opening included)"
