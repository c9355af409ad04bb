#!/usr/bin/env bash
# "Yes" to "Run full screen?" on a virtual display of two screens joined by
# Xinerama (1024x768 and 1280x600, spanning 1280x768): the viewer must fill
# exactly the first screen, not the span; its window has the Driftglow icon
# and the class the menu entry names. Usage: full_screen_test.sh VIEWER
# RUN_DIR. Exit 77 when Xvfb, xdotool or the X utilities are missing.
set -uo pipefail
viewer=$1
runDir=$2
for tool in Xvfb xdotool xwininfo xprop; do
  command -v $tool >/dev/null || { echo "$tool is not installed (scripts/deps installs it): full screen not tested"; exit 77; }
done
source "$(dirname "$0")/virtual_display.sh"

startVirtualDisplay -screen 0 1024x768x24 -screen 1 1280x600x24 +xinerama
export SDL_AUDIODRIVER=dummy

findWindow() { xwininfo -root -tree | awk -v title="\"$1\"" 'index($0, title) {print $1; exit}'; }
(cd "$runDir" && exec env --default-signal=INT "$viewer") >"$work/viewer.out" 2>&1 &
viewer=$!
pids+=("$viewer")
for _ in $(seq 100); do question=$(findWindow "Driftglow"); [[ -n $question ]] && break; sleep 0.2; done
[[ -n $question ]] || { echo "FAIL: no question box: $(cat "$work/viewer.out")"; exit 1; }
sleep 0.5
xdotool windowfocus "$question" key Return
# The window may still be settling into full screen: read it until it
# answers, and once more a second later.
readGeometry() {
  local window
  window=$(findWindow "Driftglow - generative art")
  [[ -n $window ]] && xwininfo -id "$window" 2>/dev/null |
    awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2}
         END {if (w) print x "," y " " w "x" h}'
}
geometry=
for _ in $(seq 50); do
  geometry=$(readGeometry)
  [[ -n $geometry ]] && break
  sleep 0.2
done
[[ -n $geometry ]] || { echo "FAIL: no viewer window: $(cat "$work/viewer.out")"; exit 1; }
sleep 1
later=$(readGeometry)
[[ -n $later ]] && geometry=$later
# The window shows the Driftglow icon, and docks match it to the menu entry by its class.
window=$(findWindow "Driftglow - generative art")
icon=$(xprop -id "$window" _NET_WM_ICON 2>/dev/null | head -n 2)
class=$(xprop -id "$window" WM_CLASS 2>/dev/null | sed -n 's/.*= "[^"]*", "\([^"]*\)".*/\1/p')
entryClass=$(sed -n 's/^StartupWMClass=//p' "$(dirname "$0")/../../desktop/art.driftglow.Driftglow.desktop")
kill -TERM "$viewer"
wait "$viewer"
status=$?
echo "full-screen window: $geometry; exit status $status"
[[ $geometry == "0,0 1024x768" ]] || { echo "FAIL: the window does not cover exactly the first screen"; exit 1; }
[[ $status == 0 ]] || { echo "FAIL: exit status $status after SIGTERM"; exit 1; }
[[ $icon == *"Icon (128 x 128)"* ]] || { echo "FAIL: the window has no 128 x 128 icon: $icon"; exit 1; }
[[ -n $class && $class == "$entryClass" ]] ||
  { echo "FAIL: the window's class '$class' is not the menu entry's StartupWMClass '$entryClass'"; exit 1; }
