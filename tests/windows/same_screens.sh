#!/usr/bin/env bash
# Equal seeds give the same screens on Windows and on Linux: the JSON of
# driftglow-still for 50 seed sets on several canvas sizes from the Linux
# build and from the Windows build under Wine must be identical, and the
# software renderer's PNGs for a few of them are compared pixel for pixel.
# Usage: tests/windows/same_screens.sh LINUX_STILL WINDOWS_STILL_EXE DATA_DIR
set -uo pipefail
linux=$1
windows=$2
data=$3
wine=${WINE:-/usr/lib/wine/wine64}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sizes=(960x960 1920x1080 640x480 1366x768 333x777)
differing=0
for i in $(seq 1 50); do
  # Seeds spread over the whole range, reproducible from i alone.
  seeds="$i,$(((i * 2654435761) % 2147483647 + 1)),$(((i * 40503 + 12345) * 97 % 2147483647 + 1))"
  size=${sizes[$((i % ${#sizes[@]}))]}
  "$linux" --seeds "$seeds" --size "$size" --data "$data" --json "$work/linux.json" >/dev/null 2>&1 ||
    { echo "Linux driftglow-still failed for $seeds $size"; exit 1; }
  "$wine" "$windows" --seeds "$seeds" --size "$size" --data "$data" --json "$work/windows.json" >/dev/null 2>&1 ||
    { echo "Windows driftglow-still failed for $seeds $size"; exit 1; }
  if ! cmp -s "$work/linux.json" "$work/windows.json"; then
    differing=$((differing + 1))
    echo "seeds $seeds size $size: the JSON differs"
    diff "$work/linux.json" "$work/windows.json" | head -n 6
  fi
done
echo "JSON: $((50 - differing)) of 50 seed sets identical"

# Pictures: the software renderer, after a few frames of motion.
pictures=0
for seeds in 1,2,3 77,5,900 123456,654321,42; do
  "$linux" --seeds "$seeds" --size 480x320 --frames 10 --renderer software --data "$data" --png "$work/linux.png" \
    >/dev/null 2>&1 && "$wine" "$windows" --seeds "$seeds" --size 480x320 --frames 10 --renderer software \
    --data "$data" --png "$work/windows.png" >/dev/null 2>&1 || { echo "PNG for $seeds failed"; exit 1; }
  if cmp -s "$work/linux.png" "$work/windows.png"; then
    pictures=$((pictures + 1))
  else
    echo "seeds $seeds: the software renderer's PNGs differ"
  fi
done
echo "PNG: $pictures of 3 identical"
[[ $differing -eq 0 ]]
