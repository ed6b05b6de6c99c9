#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as Debian's tools see it: cpack makes it from the build in a scratch
# folder, lintian must report no error and no warning, and readelf must find both programs
# hardened (position-independent, relocations read-only and bound at start-up, stack
# protector, fortified functions) and without a .comment section.
# Usage: package_check.sh CPACK BUILD_DIR
set -u
cpack=$1 build=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; exit 1; }
deb=$(ls "$scratch"/tolvane_*.deb)
status=0
lintian --info --fail-on error,warning "$deb" || { echo "lintian: errors or warnings"; status=1; }
dpkg-deb -x "$deb" "$scratch/root"
fail() { echo "$program: $1"; status=1; }
for program in tolvane tolvane-cli; do
  file="$scratch/root/usr/bin/$program"
  dynamic=$(readelf -d -W "$file") symbols=$(readelf --dyn-syms -W "$file")
  readelf -l -W "$file" | grep -q GNU_RELRO || fail "no read-only relocations (RELRO)"
  echo "$dynamic" | grep -q 'FLAGS_1.*PIE' || fail "not position-independent (PIE)"
  echo "$dynamic" | grep -Eq 'BIND_NOW|FLAGS_1.* NOW' || fail "not bound at start-up (BIND_NOW)"
  echo "$symbols" | grep -q ' __stack_chk_fail' || fail "no stack protector"
  echo "$symbols" | grep -Eq ' __[a-z0-9_]+_chk(@|$)' || fail "no fortified function (_FORTIFY_SOURCE)"
  readelf -S -W "$file" | grep -q ' \.comment ' && fail "a .comment section"
done
exit $status
