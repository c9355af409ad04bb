#!/usr/bin/env bash
# The Windows viewer end to end under Wine in a virtual display: it asks
# "Run full screen?", Escape answers No, its window shows lit pixels, and
# closing the window (Alt+F4, as the title bar's X does) ends it with exit
# code 0. Started from a folder without the content, it says so in an error
# box and ends with exit code 1 once the box is answered.
# Usage: tests/windows/viewer_test.sh RUN_FOLDER X_PROBE
set -uo pipefail
run=$1
probe=$2
wine=${WINE:-/usr/lib/wine/wine64}
source "$(dirname "$0")/../desktop/virtual_display.sh"
startVirtualDisplay -screen 0 1280x800x24

# Waits up to 30 s for a window whose name matches; prints its id.
waitForWindow() {
  for _ in $(seq 300); do
    local id
    id=$(xdotool search --name "$1" 2>/dev/null | head -n1)
    [[ -n $id ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

(cd "$run" && exec "$wine" ./driftglow.exe) >"$work/viewer.log" 2>&1 &
viewer=$!
pids+=("$viewer")
waitForWindow '^Driftglow$' >/dev/null || { echo "no question box appeared"; cat "$work/viewer.log"; exit 1; }
sleep 1
xdotool key Escape
window=$(waitForWindow '^Driftglow - ') || { echo "no viewer window after Escape"; cat "$work/viewer.log"; exit 1; }
# The first composition fades in; give it up to 20 s on a busy machine.
lit=0
for _ in $(seq 40); do
  lit=$("$probe" "$window")
  [[ $lit -gt 100 ]] && break
  sleep 0.5
done
echo "lit pixels in the viewer's window: $lit"
[[ $lit -gt 100 ]] || { echo "the viewer's window stayed dark"; cat "$work/viewer.log"; exit 1; }

xdotool key --window "$window" alt+F4
for _ in $(seq 200); do kill -0 "$viewer" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$viewer" 2>/dev/null; then
  echo "the viewer did not end after its window was closed"
  exit 1
fi
wait "$viewer"
code=$?
echo "exit code after closing the window: $code"
[[ $code -eq 0 ]] || exit 1

bare="$work/no content here"
mkdir -p "$bare"
cp "$run/driftglow.exe" "$bare/"
(cd "$bare" && exec "$wine" ./driftglow.exe --window) >"$work/bare.log" 2>&1 &
viewer=$!
pids+=("$viewer")
waitForWindow '^Error$' >/dev/null || { echo "no error box without the content"; cat "$work/bare.log"; exit 1; }
xdotool key Return
for _ in $(seq 200); do kill -0 "$viewer" 2>/dev/null || break; sleep 0.1; done
kill -0 "$viewer" 2>/dev/null && { echo "the viewer did not end after its error box"; exit 1; }
wait "$viewer"
code=$?
echo "without the content: $(grep -m1 '^Error: ' "$work/bare.log"), exit code $code"
[[ $code -eq 1 ]]
