# Shared set-up of the desktop tests, sourced by them: a work folder and the
# processes started, both gone on exit, and startVirtualDisplay, which starts
# Xvfb with the given screens and options and exports its DISPLAY.

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
# Under the sanitizer build, leaks are not reported for the programs run here:
# the display stack (Mesa's driver, which SDL loads and unloads, and D-Bus)
# leaves allocations that are not ours; memory errors still end the run.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0

startVirtualDisplay() {
  Xvfb -displayfd 3 "$@" -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
  [[ -s $work/display ]] || { echo "Xvfb did not start"; exit 1; }
  export DISPLAY=:$(head -n1 "$work/display")
}
