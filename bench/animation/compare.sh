#!/usr/bin/env bash
# The benchmark's showcase (bench/showcase/showcase.json) animated over 48 frames at 320 x 240:
# a camera move keyed from frame 0 to frame 47.
# Times, each the wall clock of whole commands as a user runs them:
#   - `lumetra animate` of the 48 frames into an uncompressed AVI (the scene translated once,
#     posed in place for every frame): seconds per frame;
#   - `lumetra render --time` of one frame (a still: load, translate, render, write);
#   - 48 such stills, one a frame: what translating the scene afresh for every frame costs;
#   - POV-Ray rendering the same 48 frames from the hand-written showcase.pov with the camera
#     moving on its clock (it parses the scene anew for every frame), where POV-Ray is installed.
#
#   bench/animation/compare.sh [OUTPUT_DIR]      (default: build/bench/animation)
#
# Exit status: 0 measured, 1 a command failed, 2 bad arguments or a missing tool.
set -euo pipefail

readonly WIDTH=320 HEIGHT=240 FRAMES=48

fail() {
  echo "compare.sh: $1" >&2
  exit "${2:-2}"
}

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
case $# in
  0) out="$root/build/bench/animation" ;;
  1)
    case $1 in
      -h | --help) sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
      -* | '') fail "usage: $0 [OUTPUT_DIR]" ;;
    esac
    out=$1
    ;;
  *) fail "usage: $0 [OUTPUT_DIR]" ;;
esac
lumetra="$root/build/bin/lumetra"
[ -x "$lumetra" ] || fail "no $lumetra: build first (cmake --preset default && cmake --build --preset default)"
command -v python3 > /dev/null || fail "python3 is needed to write the animated scene"
mkdir -p "$out" || fail "cannot make $out"

# The showcase with a keying script: the camera moves from (0, 3, -8) to (-4, 4, -7).
scene="$out/showcase-animated.json"
python3 - "$root/bench/showcase/showcase.json" "$scene" "$((FRAMES - 1))" << 'PY'
import json, sys
scene = json.load(open(sys.argv[1]))
last = sys.argv[3]
scene["keying"] = [
    {"time": "0", "object": "Camera", "interpolation": "linear", "translate": [0, 3, -8], "rotate": [0, 0.8, 0]},
    {"time": last, "object": "Camera", "interpolation": "linear", "translate": [-4, 4, -7], "rotate": [0, 0.8, 0]},
]
json.dump(scene, open(sys.argv[2], "w"), indent=1)
PY
export LUMETRA_SEARCH_PATH="$root/bench/showcase"

seconds() {  # runs "$@" quietly and prints its wall-clock seconds
  local start end
  start=$(date +%s.%N)
  "$@" > /dev/null 2>> "$out/errors.log" || fail "failed: $*" 1
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

animate=$(seconds "$lumetra" animate "$scene" -o "$out/showcase.avi" --codec DIB --size "${WIDTH}x$HEIGHT" \
  --end "$((FRAMES - 1))" --progress none)
still=$(seconds "$lumetra" render "$scene" --time 23 --size "${WIDTH}x$HEIGHT" -o "$out/still-23.png" --progress none)
afresh=0
for ((frame = 0; frame < FRAMES; ++frame)); do
  one=$(seconds "$lumetra" render "$scene" --time "$frame" --size "${WIDTH}x$HEIGHT" -o "$out/fresh.png" --progress none)
  afresh=$(echo "$afresh + $one" | bc -l)
done

printf 'showcase animated, %d frames at %dx%d, %d threads\n' "$FRAMES" "$WIDTH" "$HEIGHT" "$(nproc)"
printf 'lumetra animate          %7.3f s  %.3f s a frame  %s\n' "$animate" "$(echo "$animate / $FRAMES" | bc -l)" "$out/showcase.avi"
printf 'lumetra render, 1 frame  %7.3f s\n' "$still"
printf 'lumetra render, %d stills %7.3f s  (translated afresh for every frame)\n' "$FRAMES" "$afresh"
printf 'a frame of the animation / a still   %.3f\n' "$(echo "$animate / $FRAMES / $still" | bc -l)"
printf 'posing in place / translating afresh %.3f\n' "$(echo "$animate / $afresh" | bc -l)"

if ! command -v povray > /dev/null; then
  echo "(POV-Ray is not installed: apt-get install povray for the comparison)"
  exit 0
fi
pov="$out/showcase-animated.pov"
# The last camera a scene declares is the one POV-Ray uses: this one follows the clock (0 at the
# first frame, 1 at the last), as our keys move ours.
cat > "$pov" << POV
#include "$root/bench/showcase/showcase.pov"
camera {
  perspective
  location <0, 3, -8> + clock * <-4, 1, 1>
  look_at  <0, 1.8, 0>
  right    -x * 4/3
  up       y
  angle    50
}
POV
povray_time=$(seconds povray "+I$pov" "+O$out/pov-.png" "+W$WIDTH" "+H$HEIGHT" -A +KFI0 "+KFF$((FRAMES - 1))" \
  "+L$root/bench/showcase" -D -V "+WT$(nproc)" File_Gamma=1.0)
printf 'POV-Ray, %d frames        %7.3f s  %.3f s a frame\n' "$FRAMES" "$povray_time" "$(echo "$povray_time / $FRAMES" | bc -l)"
printf 'ratio ours / POV-Ray     %.3f\n' "$(echo "$animate / $povray_time" | bc -l)"
