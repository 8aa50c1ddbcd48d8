#!/usr/bin/env bash
# The layers hold: every include points down, the core has no Qt, and the
# programs that need no window (vantorctl among them) link none of it.
# usage: libraries_test.sh SOURCE_DIR QT_FREE_PROGRAM...
set -u
. "$(dirname "$0")/check.sh"
source_dir=$1
shift

out=$("$source_dir/scripts/check-layers" 2>&1); rc=$?
check "every include points down" "layers: every include points down 0" "$out $rc"

qt_of() { ldd "$1" | grep -o 'libQt6[A-Za-z]*' | sort -u | tr '\n' ' '; }
for program in "$@"; do
  check "$(basename "$program") links no Qt" "" "$(qt_of "$program")"
done
summary
