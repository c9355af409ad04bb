#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the layout and the
# desktop files, moves the installation and checks that the launcher and
# driftglow-still still find its data, and that a missing or damaged data
# folder gives the viewer's own messages. Usage: install_test.sh BUILD_DIR
set -uo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
# Under the sanitizer build, leaks are not reported for the programs run here:
# the display stack (Mesa's driver, which SDL loads and unloads, and D-Bus)
# leaves allocations that are not ours; memory errors still end the run.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }
prefix=$work/prefix

for program in bin/driftglow bin/driftglow-still bin/driftglow-calc libexec/driftglow/driftglow; do
  [[ -x $prefix/$program ]] || fail "$program is not an installed program"
done
for file in share/driftglow/Graphics.paq share/driftglow/Sound.paq share/driftglow/DejaVu-LICENSE.txt \
            share/applications/art.driftglow.Driftglow.desktop share/metainfo/art.driftglow.Driftglow.metainfo.xml \
            share/man/man6/driftglow.6.gz share/man/man1/driftglow-still.1.gz share/man/man1/driftglow-calc.1.gz \
            share/doc/driftglow/copyright share/doc/driftglow/changelog.gz; do
  [[ -s $prefix/$file ]] || fail "$file is missing"
done
(( $(ls "$prefix"/share/driftglow/pix/*.png 2>/dev/null | wc -l) > 10 )) || fail "share/driftglow/pix holds no catalogue"
if [[ -e $build/bin/driftglow-saver ]]; then
  [[ -x $prefix/libexec/xscreensaver/driftglow ]] || fail "the screensaver is not in libexec/xscreensaver"
  [[ -s $prefix/share/xscreensaver/config/driftglow.xml ]] || fail "the screensaver's settings file is missing"
  [[ -s $prefix/share/man/man6/driftglow-saver.6.gz ]] || fail "the screensaver's man page is missing"
fi
# The icon in each size: a PNG whose header gives that width and height.
for size in 48 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/driftglow.png
  header=$(od -An -tx1 -j12 -N12 "$icon" 2>/dev/null | tr -d ' \n')
  expected=49484452$(printf '%08x%08x' "$size" "$size")
  [[ $header == "$expected" ]] || fail "$icon is not a $size x $size PNG"
done

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/art.driftglow.Driftglow.desktop" || fail "desktop-file-validate"
else
  echo "desktop-file-validate not installed: desktop entry not validated"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/art.driftglow.Driftglow.metainfo.xml" >"$work/as.log" 2>&1 ||
    { cat "$work/as.log"; fail "appstreamcli validate"; }
else
  echo "appstreamcli not installed: AppStream metadata not validated"
fi

# Moved as a whole, started from elsewhere: everything is found relative to bin/.
mv "$prefix" "$work/moved"
prefix=$work/moved
cd /
"$prefix/bin/driftglow-still" --seeds 1,2,3 --json - >"$work/still.json" 2>"$work/still.err" ||
  fail "driftglow-still outside a content folder: $(cat "$work/still.err")"
grep -q '"seeds":\[1,2,3\]' "$work/still.json" || fail "driftglow-still wrote no description"
# The launcher hands its arguments to the viewer.
timeout 20 "$prefix/bin/driftglow" --seeds 1,2 </dev/null >/dev/null 2>"$work/viewer.err"
[[ $? == 2 ]] && grep -q -- "--seeds" "$work/viewer.err" || fail "the launcher lost the viewer's arguments"

# No display: the question box cannot be shown and answers No by itself.
unset DISPLAY WAYLAND_DISPLAY
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
runViewer() { timeout 20 "$prefix/bin/driftglow" >"$work/viewer.out" 2>&1; echo $?; }
printf 'damaged' >"$prefix/share/driftglow/pix/amber.png"
status=$(runViewer)
grep -q "Can't load graphics." "$work/viewer.out" || fail "damaged catalogue: $(cat "$work/viewer.out")"
[[ $status == 1 ]] || fail "damaged catalogue: exit status $status, not 1"
"$prefix/bin/driftglow-still" --seeds 1,2,3 --json - >/dev/null 2>"$work/still.err"
grep -q "can't load the graphics" "$work/still.err" || fail "driftglow-still did not read the installed catalogue"

mv "$prefix/share/driftglow" "$prefix/share/elsewhere"
status=$(runViewer)
grep -q "Can't load sounds." "$work/viewer.out" || fail "missing data folder: $(cat "$work/viewer.out")"
grep -Eq "bin/driftglow: |cd: " "$work/viewer.out" && fail "the launcher complained: $(cat "$work/viewer.out")"
[[ $status == 1 ]] || fail "missing data folder: exit status $status, not 1"

(( failures == 0 )) && echo "installation checked"
exit $((failures > 0))
