#!/usr/bin/env bash
# vantor-setup on a fake /dev: adapters listed and recorded by their stable
# names, --list changing nothing, and the dialout group explained.
# usage: setup_test.sh VANTOR_SETUP
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Another user runs a copy of the program from here: it must be able to enter.
chmod 755 "$work"
cp "$1" "$work/vantor-setup"
setup=$work/vantor-setup
. "$(dirname "$0")/check.sh"

# Two adapters with stable names (listed in name order) and one without.
devices=$work/dev
mkdir -p "$devices/serial/by-id"
touch "$devices/ttyUSB0" "$devices/ttyUSB1" "$devices/ttyACM0"
ftdi=$devices/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K1-if00-port0
prolific=$devices/serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0
ln -s ../../ttyUSB1 "$ftdi"
ln -s ../../ttyACM0 "$prolific"
export VANTOR_DEVICE_ROOT=$devices XDG_CONFIG_HOME=$work/config
settings=$work/config/Software/VantorPC.ini
ports() { grep '^Com' "$settings" 2>&1 | tr '\n' ' '; }

listing="USB serial adapters found:
  $ftdi -> $devices/ttyUSB1
  $prolific -> $devices/ttyACM0
  $devices/ttyUSB0 (no stable name)"

out=$("$setup" --list 2>&1); rc=$?
check "--list before set-up" "$listing
VantorPC is not set up for this user yet.
0" "$out
$rc"
check "--list creates nothing" "absent" "$([ -e "$work/config" ] && echo present || echo absent)"

"$setup" >"$work/out" 2>&1; rc=$?
check "first run" "0" "$rc"
check "first run: the adapters take the first ports by stable name" \
  "Com1=$ftdi Com2=$prolific Com3=/dev/ttyS2 Com4=/dev/ttyS3 " "$(ports)"
check "first run prints the ports" "Com1 = $ftdi" "$(grep '^Com1 = ' "$work/out")"

"$setup" --com2 "$devices/ttyACM0" --com3 "$devices/ttyUSB0" >/dev/null 2>&1
check "a kernel name is recorded by its stable name; the others are kept" \
  "Com1=$ftdi Com2=$prolific Com3=$devices/ttyUSB0 Com4=/dev/ttyS3 " "$(ports)"

cp "$settings" "$work/before.ini"
out=$("$setup" --list 2>&1); rc=$?
check "--list after set-up shows the ports" "$listing
Com1 = $ftdi
Com2 = $prolific
Com3 = $devices/ttyUSB0
0" "$(head -n 7 <<<"$out")
$rc"
out=$("$setup" --if-missing 2>&1); rc=$?
check "--if-missing once set up" " 0" "$out $rc"
check "--list and --if-missing change nothing" "same" "$(cmp -s "$work/before.ini" "$settings" && echo same)"

rm "$devices/ttyACM0"
out=$("$setup" --list 2>&1)
check "an unplugged adapter is said so" "Com2: $prolific is not plugged in" "$(grep '^Com2:' <<<"$out")"

out=$("$setup" --help 2>&1); rc=$?
check "--help" "usage: vantor-setup 0" "$(head -n1 <<<"$out" | cut -d' ' -f1-2) $rc"
"$setup" --com5 /dev/null >/dev/null 2>&1; rc=$?
check "a wrong option" "2" "$rc"

# A device server's port: recorded as given, with no device file to check.
out=$("$setup" --com4 rfc2217://gw1:2001 2>&1); rc=$?
check "a device server's port is recorded" "Com4=rfc2217://gw1:2001 0" "$(grep '^Com4=' "$settings") $rc"
check "and has no file to miss" "" "$(grep '^Com4:' <<<"$out")"
out=$("$setup" --com4 rfc2217://gw1 2>&1); rc=$?
check "one without its port is refused" "2 rfc2217://HOST:PORT" "$rc $(grep -o 'rfc2217://HOST:PORT' <<<"$out")"

# The dialout group: a device of that group, mode 0660, opened by a user outside
# it. Root opens anything: the check runs as nobody, outside every group.
if [ "$(id -u)" -eq 0 ] && getent group dialout >/dev/null; then
  chgrp dialout "$devices/ttyUSB0" && chmod 0660 "$devices/ttyUSB0"
  home=$work/home-nobody
  mkdir -p "$home" && chown nobody "$home"
  out=$(setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env HOME="$home" XDG_CONFIG_HOME="$home/config" "$setup" --com1 "$devices/ttyUSB0" 2>&1)
  check "a device of the dialout group names the group" \
    "Com1: $devices/ttyUSB0 cannot be opened: only members of the dialout group may open it." \
    "$(grep '^Com1:' <<<"$out")"
  check "and prints the command that fixes it" "    sudo usermod -aG dialout nobody" \
    "$(grep -A1 '^To open the serial ports, join the dialout group' <<<"$out" | tail -n1)"
else
  echo "skipped: the dialout case (it runs as root, on a system with a dialout group)"
fi

summary
