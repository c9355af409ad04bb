#!/usr/bin/env bash
# The screensaver in a virtual X display: a bad window id is refused with a
# message; in the root window, and in a window handed over the way
# XScreenSaver does, it draws figures and ends with exit code 0 soon after
# SIGTERM or SIGINT; asked for a preview (--root --window-id) it draws into
# that window and ends quietly with exit code 0 when the window is destroyed.
# In normal operation it writes nothing on standard error.
# Usage: saver_test.sh SAVER X_PROBE. Exit 77: no Xvfb.
set -uo pipefail
saver=$1
probe=$2
if ! command -v Xvfb >/dev/null; then
  echo "Xvfb is not installed (scripts/deps installs it): screensaver not tested"
  exit 77
fi
source "$(dirname "$0")/virtual_display.sh"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

startVirtualDisplay -screen 0 640x480x24
unset XSCREENSAVER_WINDOW

"$saver" -window-id 0x7ffffff >"$work/bad.out" 2>&1
status=$?
[[ $status != 0 ]] || fail "a window that does not exist gave exit status 0"
grep -q "no X window 0x7ffffff" "$work/bad.out" || fail "bad window id: $(cat "$work/bad.out")"

# Starts the saver, waits until the root window shows figures, sends the
# signal and checks that it ended with exit status 0, printing how soon.
runAndStop() {
  local signal=$1
  shift
  "$probe" --clear >/dev/null || { fail "the probe cannot read the display"; return; }
  # A shell starts background jobs with SIGINT ignored; XScreenSaver does not.
  env --default-signal=INT "$@" "$saver" -root >"$work/run.out" 2>&1 &
  local pid=$!
  pids+=("$pid")
  local lit=0
  for _ in $(seq 300); do
    lit=$("$probe")
    (( lit > 100 )) && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  (( lit > 100 )) || fail "$*: nothing drawn in the root window ($lit pixels lit): $(cat "$work/run.out")"
  local start=$(date +%s%N)
  # It should end within half a second (one frame, then shutdown); the time
  # is printed, and only a saver that keeps running fails here, since a
  # loaded machine can make a single frame that slow.
  kill -"$signal" "$pid"
  for _ in $(seq 500); do kill -0 "$pid" 2>/dev/null || break; sleep 0.01; done
  local elapsed=$((($(date +%s%N) - start) / 1000000))
  kill -KILL "$pid" 2>/dev/null && fail "$*: still running $elapsed ms after SIG$signal"
  wait "$pid"
  local status=$?
  [[ $status == 0 ]] || fail "$*: exit status $status after SIG$signal: $(cat "$work/run.out")"
  [[ -s $work/run.out ]] && fail "$*: it wrote: $(cat "$work/run.out")"
  echo "SIG$signal ended the saver in $elapsed ms"
}
runAndStop TERM
root=$(xwininfo -root | awk '/Window id:/ {print $4}')
runAndStop INT XSCREENSAVER_WINDOW="$root"

# The preview: XScreenSaver's settings make a window, start the saver with
# both options, and destroy the window when the preview ends.
for extra in "" "-fps -delay 30000"; do
  coproc PROBE { exec "$probe" --window; }
  pids+=("$PROBE_PID")
  read -r window <&"${PROBE[0]}"
  # shellcheck disable=SC2086
  "$saver" --root --window-id "$window" $extra >"$work/preview.out" 2>&1 &
  pid=$!
  pids+=("$pid")
  lit=0
  for _ in $(seq 300); do
    lit=$("$probe" "$window" 2>/dev/null || echo 0)
    (( lit > 100 )) && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  (( lit > 100 )) || fail "preview $extra: nothing drawn in the window ($lit pixels lit): $(cat "$work/preview.out")"
  kill "$PROBE_PID"
  wait "$PROBE_PID" 2>/dev/null
  for _ in $(seq 500); do kill -0 "$pid" 2>/dev/null || break; sleep 0.01; done
  kill -KILL "$pid" 2>/dev/null && fail "preview $extra: still running 5 s after its window was destroyed"
  wait "$pid"
  status=$?
  [[ $status == 0 ]] || fail "preview $extra: exit status $status after its window was destroyed"
  [[ -s $work/preview.out ]] && fail "preview $extra: it wrote: $(cat "$work/preview.out")"
done

(( failures == 0 )) && echo "screensaver checked"
exit $((failures > 0))
