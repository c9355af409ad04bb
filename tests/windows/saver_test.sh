#!/usr/bin/env bash
# Driftglow.scr under Wine in a virtual display: "/p" with a handle that is
# no window ends with exit code 1, without a box; "/p HWND" runs in the
# window a host made and ends with exit code 0 once that window is gone;
# "/s" shows full screen (lit pixels on the display) and a key press ends it
# with exit code 0.
# Usage: tests/windows/saver_test.sh RUN_FOLDER PREVIEW_HOST_EXE X_PROBE
set -uo pipefail
run=$1
host=$2
probe=$3
wine=${WINE:-/usr/lib/wine/wine64}
source "$(dirname "$0")/../desktop/virtual_display.sh"
startVirtualDisplay -screen 0 1024x768x24
cd "$run" || exit 1

timeout 60 "$wine" ./Driftglow.scr /p 12345 >"$work/bad.log" 2>&1
code=$?
[[ $code -eq 1 ]] || { echo "/p with no such window: exit code $code, not 1"; exit 1; }

# The saver of this folder, named by its path: a bare name would be looked
# up beside the host first.
timeout 60 "$wine" "$host" '.\Driftglow.scr' 5 >"$work/preview.log" 2>&1
code=$?
cat "$work/preview.log"
[[ $code -eq 0 ]] || { echo "the preview did not run until its window went away, or did not end then"; exit 1; }

"$wine" ./Driftglow.scr /s >"$work/show.log" 2>&1 &
show=$!
pids+=("$show")
for _ in $(seq 300); do
  [[ -n $(xdotool search --name '^Driftglow - ' 2>/dev/null) ]] && break
  sleep 0.1
done
# The show fills the display, so the whole display is probed; the first
# composition fades in, so give it up to 20 s on a busy machine.
lit=0
for _ in $(seq 40); do
  lit=$("$probe")
  [[ $lit -gt 100 ]] && break
  sleep 0.5
done
echo "lit pixels on the display during /s: $lit"
kill -0 "$show" 2>/dev/null || { echo "/s ended by itself"; cat "$work/show.log"; exit 1; }
[[ $lit -gt 100 ]] || { echo "/s left the display dark"; cat "$work/show.log"; exit 1; }
xdotool key a
for _ in $(seq 100); do kill -0 "$show" 2>/dev/null || break; sleep 0.1; done
kill -0 "$show" 2>/dev/null && { echo "/s did not end on a key"; exit 1; }
wait "$show"
code=$?
echo "/s ended on a key with exit code $code"
[[ $code -eq 0 ]] || { cat "$work/show.log"; exit 1; }
