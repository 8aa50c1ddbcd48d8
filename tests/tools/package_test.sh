#!/usr/bin/env bash
# Builds the Debian package from a build folder, unpacks it and runs what it
# holds: a package that lacks a file or a library fails here.
# usage: package_test.sh BUILD_DIR
set -u
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/check.sh"

for tool in cpack dpkg-deb dpkg-shlibdeps file lintian desktop-file-validate; do
  if ! command -v "$tool" >/dev/null; then
    give_up "$tool is missing (scripts/install-deps installs it)"
  fi
done

# Packages go to the temporary folder; the build folder only lends its programs.
if ! (cd "$build" && cpack -B "$work/cpack" >"$work/cpack.log" 2>&1); then
  cat "$work/cpack.log"
  give_up "cpack"
fi
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$work/cpack/vantorpc_${version}_amd64.deb
check "package named vantorpc_VERSION_amd64.deb" "present" "$([ -f "$deb" ] && echo present || echo absent)"

root=$work/root
dpkg-deb -x "$deb" "$root"

for file in usr/bin/vantorpc usr/bin/vantorctl usr/bin/vantor-sim usr/bin/vantor-setup \
            usr/libexec/vantorpc/vantorpc-launch; do
  check "$file is an executable" "yes" "$([ -f "$root/$file" ] && [ -x "$root/$file" ] && echo yes || echo no)"
done
for page in vantorpc vantorctl vantor-sim vantor-setup; do
  check "manual page of $page" "ok" "$(gzip -t "$root/usr/share/man/man1/$page.1.gz" 2>&1 && echo ok)"
done
for side in 48 256; do
  check "icon at $side pixels" "PNG image data, $side x $side" \
    "$(file -b "$root/usr/share/icons/hicolor/${side}x${side}/apps/vantorpc.png" | cut -d, -f1-2)"
done
check "copyright" "present" "$([ -s "$root/usr/share/doc/vantorpc/copyright" ] && echo present || echo absent)"
check "changelog" "ok" "$(gzip -t "$root/usr/share/doc/vantorpc/changelog.gz" 2>&1 && echo ok)"

depends=$(dpkg-deb -f "$deb" Depends)
check "dependencies computed from the programs" "yes" \
  "$([[ "$depends" == *libqt6widgets6* && "$depends" == *libc6* ]] && echo yes || echo no)"

entry=$root/usr/share/applications/vantorpc.desktop
check "desktop entry valid" "" "$(desktop-file-validate "$entry" 2>&1)"
# The launcher without switches, the categories and the icon.
for line in Exec=/usr/libexec/vantorpc/vantorpc-launch "Categories=Utility;Engineering;" Icon=vantorpc; do
  check "desktop entry: $line" "$line" "$(grep "^${line%%=*}=" "$entry")"
done

# Every program answers --help without a display: no window is opened for it.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$work/config")
for program in vantorpc vantorctl vantor-sim vantor-setup; do
  out=$("${nodisplay[@]}" "$root/usr/bin/$program" --help 2>&1); rc=$?
  check "$program --help" "usage: $program 0" "$(head -n1 <<<"$out" | cut -d' ' -f1-2) $rc"
done

# A fake /dev with one adapter under its stable name (vantor-setup's own
# rules are setup_test.sh's).
devices=$work/dev
mkdir -p "$devices/serial/by-id"
touch "$devices/ttyUSB0"
adapter=$devices/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K1-if00-port0
ln -s ../../ttyUSB0 "$adapter"
export VANTOR_DEVICE_ROOT=$devices

# The first start from the menu: the launcher sets the user up, then starts the program.
settings=$work/config/Software/VantorPC.ini
out=$("${nodisplay[@]}" "$root/usr/libexec/vantorpc/vantorpc-launch" --help 2>/dev/null); rc=$?
check "launcher starts vantorpc" "usage: vantorpc 0" "$(head -n1 <<<"$out" | cut -d' ' -f1-2) $rc"
check "launcher creates the settings, the adapter by its stable name" "Com1=$adapter" \
  "$(grep '^Com1=' "$settings" 2>&1)"
echo "Com1=/dev/ttyUSB7" >"$work/edited.ini"
cp "$work/edited.ini" "$settings"
"${nodisplay[@]}" "$root/usr/libexec/vantorpc/vantorpc-launch" --help >/dev/null 2>&1
check "launcher leaves existing settings alone" "Com1=/dev/ttyUSB7" "$(cat "$settings")"

lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1
check "lintian reports no error" "" "$(grep '^E:' "$work/lintian.log")"

summary
