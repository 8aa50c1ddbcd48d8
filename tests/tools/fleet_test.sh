#!/usr/bin/env bash
# The fleet's playbook (examples/fleet/commission.yml) run by ansible-playbook
# over three meters, each a simulator behind a ser2net of its own on the loopback
# reached through RFC 2217; the third stores none of the writes it acknowledges,
# so the play must fail for it alone, with every meter's reports collected.
# usage: fleet_test.sh VANTORCTL VANTOR_SIM
set -u
ctl=$(readlink -f "$1")
simulator=$2
work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config" ANSIBLE_NOCOLOR=1 ANSIBLE_LOCAL_TEMP="$work/ansible-tmp" ANSIBLE_HOME="$work/ansible"
. "$(dirname "$0")/check.sh"
fleet=$(cd "$(dirname "$0")/../../examples/fleet" && pwd)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
for tool in ansible-playbook ser2net python3; do
  command -v "$tool" >/dev/null || [ -x "/usr/sbin/$tool" ] || give_up "$tool is missing (scripts/install-deps installs it)"
done
server=$(command -v ser2net || echo /usr/sbin/ser2net)

# Three instruments, each behind a ser2net of its own, as three gateways.
"$simulator" "$work/m1" >/dev/null & pids+=($!)
"$simulator" "$work/m2" >/dev/null & pids+=($!)
"$simulator" --ignore-writes 1 "$work/m3" >/dev/null & pids+=($!)
for _ in $(seq 100); do [ -L "$work/m1" ] && [ -L "$work/m2" ] && [ -L "$work/m3" ] && break; sleep 0.05; done
declare -A url
for meter in m1 m2 m3; do
  port=$(free_port)
  url[$meter]="rfc2217://127.0.0.1:$port"
  printf 'connection: &%s\n  accepter: telnet(rfc2217),tcp,127.0.0.1,%s\n  connector: serialdev,%s,9600n82,local\n' \
    "$meter" "$port" "$(readlink -f "$work/$meter")" >"$work/$meter.yaml"
  "$server" -n -u -P "$work/$meter.pid" -c "$work/$meter.yaml" >"$work/$meter.log" 2>&1 & pids+=($!)
done
for meter in m1 m2 m3; do
  for _ in $(seq 100); do
    "$ctl" --device "${url[$meter]}" read 0x111A 1 >/dev/null 2>&1 && break
    sleep 0.1
  done
done

# The site's file: the unit's calibration with another outer diameter (123.4 mm).
"$ctl" --device "${url[m1]}" save-block calibration "$work/site.eta" >/dev/null || give_up "no calibration through ${url[m1]}"
printf '\x00\x04\xD2' | dd of="$work/site.eta" bs=1 seek=3 conv=notrunc status=none
{
  echo "[meters]"
  for meter in m1 m2 m3; do echo "$meter vantor_device=${url[$meter]} vantor_address=1"; done
  printf '[meters:vars]\nansible_connection=local\nvantor_calibration=%s\n' "$work/site.eta"
} >"$work/inventory.ini"

ansible-playbook -i "$work/inventory.ini" "$fleet/commission.yml" \
  -e "reports=$work/reports" -e "vantorctl=$ctl" >"$work/play.log" 2>&1
check "the play fails: a meter did not keep the file" "2" "$?"
recap() { sed -n "/^PLAY RECAP/,\$p" "$work/play.log" | grep "^$1 " | grep -o 'failed=[0-9]*'; }
check "m1 and m2 commissioned, m3 failed" "failed=0 failed=0 failed=1" "$(recap m1) $(recap m2) $(recap m3)"
check "the failure names the meter and what it did not keep" "yes" \
  "$(grep -q 'm3: .*Ext\. Diameter' "$work/play.log" && echo yes || echo no)"
for meter in m1 m2 m3; do
  check "$meter: its reports collected" "before.eta compare.txt upload.txt" \
    "$(cd "$work/reports/$meter" 2>/dev/null && ls | sort | xargs)"
  check "$meter: the calibration it held, saved before" "58" "$(stat -c %s "$work/reports/$meter/before.eta" 2>/dev/null)"
done
check "m1: the unit holds the file" "yes" "$(grep -qi 'no deviation' "$work/reports/m1/compare.txt" && echo yes || echo no)"
check "m3: the comparison shows the value it kept" "yes" \
  "$(grep -q 'Ext\. Diameter' "$work/reports/m3/compare.txt" && echo yes || echo no)"
[ "$failures" -eq 0 ] || sed 's/^/  | /' "$work/play.log"
summary
