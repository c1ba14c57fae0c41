#!/usr/bin/env bash
# Peak memory of `lumetra render` per triangle of an OBJ mesh: writes grid meshes of about 1M and
# 4M triangles (not kept), renders each in a one-mesh scene at 320 x 240 and prints the peak
# resident size over that of the same scene without the mesh, per triangle.
#
#   bench/compare-povray/mesh-memory.sh [LUMETRA] [OUTPUT_DIR]
#     LUMETRA     default: build/bin/lumetra
#     OUTPUT_DIR  default: a temporary folder, removed at the end
#
# Exit status: 0 measured, 1 a render failed, 2 a missing tool.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
lumetra=${1:-$root/build/bin/lumetra}
[[ -x $lumetra ]] || { echo "mesh-memory.sh: $lumetra is missing; build lumetra first" >&2; exit 2; }
[[ -x /usr/bin/time ]] || { echo "mesh-memory.sh: /usr/bin/time is missing (apt-get install time)" >&2; exit 2; }
if [[ -n ${2:-} ]]; then
  out=$2
  mkdir -p "$out"
else
  out=$(mktemp -d)
  trap 'rm -rf "$out"' EXIT
fi

# A square grid of (n+1)^2 vertices and 2 n^2 triangles over the unit square, gently waved.
write_grid() {
  awk -v n="$1" 'BEGIN {
    for (j = 0; j <= n; ++j) for (i = 0; i <= n; ++i)
      printf "v %.6f %.6f %.6f\n", i / n, 0.05 * sin(20 * i / n) * cos(20 * j / n), j / n
    for (j = 0; j < n; ++j) for (i = 0; i < n; ++i) {
      a = j * (n + 1) + i + 1; b = a + 1; c = a + n + 1; d = c + 1
      printf "f %d %d %d\nf %d %d %d\n", a, c, b, b, c, d
    }
  }' > "$2"
}

# The scene: the mesh (or nothing) under a light, seen from above.
write_scene() {
  local mesh=$1
  local object=''
  [[ -n $mesh ]] && object="{\"type\": \"mesh_file\", \"name\": \"Grid\", \"file\": \"$mesh\", \"smoothing_angle\": 0,
      \"transform\": {\"scale\": [4, 4, 4], \"translate\": [-2, 0, -2]}},"
  cat << JSON
{"format": "lumetra-scene", "version": 1,
 "objects": [$object
   {"type": "point_light", "name": "Sun", "transform": {"translate": [3, 8, -4]}}],
 "cameras": [{"type": "camera", "name": "Camera", "location": [0, 5, -5], "look_at": [0, 0, 0], "active": true}]}
JSON
}

# Peak resident kilobytes of a render of the scene file $1.
peak_kb() {
  /usr/bin/time -f %M -o "$out/time.txt" "$lumetra" render "$1" -o "$out/picture.png" --size 320x240 \
    --progress none > /dev/null || { echo "mesh-memory.sh: the render of $1 failed" >&2; exit 1; }
  cat "$out/time.txt"
}

write_scene '' > "$out/empty.json"
base=$(peak_kb "$out/empty.json")
echo "without a mesh: peak $((base / 1024)) MiB"
for n in 708 1415; do  # 2 n^2: 1 002 528 and 4 004 450 triangles
  triangles=$((2 * n * n))
  write_grid "$n" "$out/grid.obj"
  write_scene grid.obj > "$out/grid.json"
  peak=$(peak_kb "$out/grid.json")
  awk -v t="$triangles" -v p="$peak" -v b="$base" \
    'BEGIN { printf "%9d triangles: peak %d MiB, %.1f bytes a triangle above the empty scene\n", t, p / 1024, (p - b) * 1024 / t }'
  rm -f "$out/grid.obj"
done
