#!/usr/bin/env bash
# The Debian package made from the build, checked by lintian: any error
# fails, warnings are printed. Usage: package_test.sh BUILD_DIR.
# Exit 77: lintian or dpkg-deb is not installed.
set -uo pipefail
build=$1
for tool in lintian dpkg-deb; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is not installed (scripts/deps installs it): package not checked"
    exit 77
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
package=$(ls "$work"/*.deb 2>/dev/null | head -n1)
[[ -n $package ]] || { cat "$work/cpack.log"; echo "FAIL: no package made"; exit 1; }
# lintian says that running as root is not recommended, which a test
# container may well do; that line is left out.
lintian --fail-on error "$package" >"$work/lintian.log" 2>&1
status=$?
grep -v "running with root" "$work/lintian.log"
(( status == 0 )) || { echo "FAIL: lintian found errors in $(basename "$package")"; exit 1; }
echo "$(basename "$package") checked"
