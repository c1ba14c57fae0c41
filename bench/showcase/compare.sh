#!/usr/bin/env bash
# Renders the benchmark's showcase scene (showcase.json beside this script, the example showcase
# as it was when showcase.pov was written from it) twice, one render after the other: with
# `lumetra render` (through the plug-in and the render library) and with POV-Ray 3.7 from the
# hand-written showcase.pov.
# Both at 640 x 480 with adaptive anti-aliasing (threshold 0.3, depth 3) on every core. Prints
# the wall-clock time of each whole command, the ratio ours / POV-Ray and both pictures' paths.
#
#   bench/showcase/compare.sh [OUTPUT_DIR]      (default: build/bench/showcase)
#
# Exit status: 0 both rendered, 1 a render failed, 2 bad arguments or a missing tool.
set -euo pipefail

readonly WIDTH=640 HEIGHT=480 AA_THRESHOLD=0.3 AA_DEPTH=3

usage() {
  echo "usage: $0 [OUTPUT_DIR]" >&2
  echo "Renders bench/showcase/showcase.json with lumetra and with POV-Ray and compares their times;" >&2
  echo "pictures and the POV-Ray log go to OUTPUT_DIR (default: build/bench/showcase)." >&2
}

fail() {
  echo "compare.sh: $1" >&2
  exit "${2:-2}"
}

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)

case $# in
  0) out="$root/build/bench/showcase" ;;
  1)
    case $1 in
      -h | --help) usage; exit 0 ;;
      -*) usage; fail "unknown option '$1'" ;;
      '') usage; fail "the output folder is empty" ;;
    esac
    out=$1
    ;;
  *) usage; fail "expected at most one argument (the output folder), got $#" ;;
esac

lumetra="$root/build/bin/lumetra"
scene="$here/showcase.json"
pov_scene="$here/showcase.pov"

[[ -x $lumetra ]] || fail "$lumetra is missing: build it first with
  cmake --preset default && cmake --build --preset default"
command -v povray > /dev/null || fail "povray is not installed (POV-Ray 3.7: apt-get install povray)"
[[ -f $scene ]] || fail "the scene $scene is missing"
[[ -f $pov_scene ]] || fail "the POV-Ray scene $pov_scene is missing"
[[ -e $out && ! -d $out ]] && fail "'$out' exists and is not a folder"
mkdir -p "$out" || fail "cannot make the output folder '$out'"
out=$(cd "$out" && pwd)

threads=$(nproc)
ours="$out/showcase-lumetra.png"
theirs="$out/showcase-povray.png"
pov_log="$out/povray.log"
rm -f "$ours" "$theirs"

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

# POV-Ray labels its PNG with the file gamma (a gAMA chunk of 1.0, right after the header
# chunk); ours carry no label. Viewers brighten a picture labelled 1.0, so the label is dropped
# to have both pictures shown alike. The pixels are not touched.
drop_gamma_label() {
  local file=$1
  [[ $(dd if="$file" bs=1 skip=37 count=4 2> /dev/null) == gAMA ]] || return 0
  { head -c 33 "$file" && tail -c +50 "$file"; } > "$file.tmp" && mv "$file.tmp" "$file"
}

echo "showcase ${WIDTH}x${HEIGHT}, anti-aliasing threshold $AA_THRESHOLD depth $AA_DEPTH, $threads threads"

# Ours: the render library uses every core.
start=$(now)
if ! "$lumetra" render "$scene" -o "$ours" --size "${WIDTH}x${HEIGHT}" --antialias "$AA_DEPTH" \
    --progress none > /dev/null; then
  fail "lumetra render failed" 1
fi
ours_time=$(elapsed "$start" "$(now)")

# POV-Ray: the same anti-aliasing (adaptive, corner samples, +AM2) and thread count, linear
# colours as ours. It runs in the output folder, where its default file I/O rules let it write;
# this folder is its library path for tiles.png and terrain.png.
start=$(now)
if ! (cd "$out" && povray -D +I"$pov_scene" +L"$here" +O"$theirs" +FN \
    +W$WIDTH +H$HEIGHT +A$AA_THRESHOLD +AM2 +R$AA_DEPTH +WT"$threads" File_Gamma=1.0 \
    > "$pov_log" 2>&1); then
  tail -n 5 "$pov_log" >&2
  fail "POV-Ray failed (log: $pov_log)" 1
fi
pov_time=$(elapsed "$start" "$(now)")

[[ -s $ours ]] || fail "lumetra wrote no picture at $ours" 1
[[ -s $theirs ]] || fail "POV-Ray wrote no picture at $theirs (log: $pov_log)" 1
drop_gamma_label "$theirs" || fail "cannot rewrite $theirs" 1

ratio=$(awk -v a="$ours_time" -v b="$pov_time" 'BEGIN { printf "%.3f", a / b }')
printf 'ours     %8s s  %s\n' "$ours_time" "$ours"
printf 'POV-Ray  %8s s  %s\n' "$pov_time" "$theirs"
printf 'ratio ours / POV-Ray  %s\n' "$ratio"
# For reading the ratio: the part of POV-Ray's time it spent tracing, as its log reports it.
trace=$(sed -n 's/.*Trace Time:.*(\([0-9.]*\) seconds).*/\1/p' "$pov_log" | tail -n 1)
if [[ -n $trace ]]; then
  echo "(POV-Ray's log: $trace s of it tracing, the rest start-up, parsing and writing)"
fi
