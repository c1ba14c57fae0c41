#!/usr/bin/env bash
# Memory of a long animation: 1000 frames of the small test scene animation/testdata/orbit.json
# into an MJPG movie, the process's resident size sampled ten times a second. Prints the size
# after the first tenth of the frames and at the end: a flat animation keeps them alike.
#
#   bench/animation/memory.sh [OUTPUT_DIR] [FRAMES]      (default: build/bench/animation, 1000)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${1:-$root/build/bench/animation}
frames=${2:-1000}
lumetra="$root/build/bin/lumetra"
[ -x "$lumetra" ] || { echo "memory.sh: no $lumetra: build first" >&2; exit 2; }
mkdir -p "$out"

"$lumetra" animate "$root/animation/testdata/orbit.json" -o "$out/long.avi" --codec MJPG --size 64x48 \
  --end "$((frames - 1))" --progress lines 2> "$out/long-progress.log" > /dev/null &
pid=$!
samples="$out/long-rss.txt"
: > "$samples"
while kill -0 "$pid" 2> /dev/null; do
  frame=$( (grep -o 'frame [0-9]*' "$out/long-progress.log" || true) | tail -1 | cut -d' ' -f2)
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status" 2> /dev/null || true)
  [ -n "$rss" ] && [ -n "$frame" ] && echo "$frame $rss" >> "$samples"
  sleep 0.1
done
wait "$pid"
early=$(awk -v f="$((frames / 10))" '$1 >= f {print $2; exit}' "$samples")
peak=$(sort -k2 -n "$samples" | tail -1 | cut -d' ' -f2)
last=$(tail -1 "$samples" | cut -d' ' -f2)
printf '%d frames at 64x48: resident %d KiB after frame %d, %d KiB at the end, %d KiB at most\n' \
  "$frames" "$early" "$((frames / 10))" "$last" "$peak"
