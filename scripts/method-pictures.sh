#!/usr/bin/env bash
# Renders the showcase by the ray tracer and by each outside renderer and puts the pictures side
# by side in docs/pictures/: showcase-povray.png (Raytracing | POV-Ray) and showcase-rib.png
# (Raytracing | RIB).
#
#   scripts/method-pictures.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"
ensure_packages $LUMETRA_BUILD_PACKAGES fonts-dejavu-core povray imagemagick
cmake --preset default -S "$root" -DLUMETRA_BENCH=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build "$root/build" --target lumetra_cli lumetra lumetra_povbridge lumetra_rib_cli lumetra_rib_exporter
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export LUMETRA_CONFIG_HOME="$scratch/config"
for method in Raytracing POV-Ray RIB; do
  "$root/build/bin/lumetra" render "$root/examples/showcase/showcase.json" --method "$method" \
    --size 640x360 --progress none -o "$scratch/$method.png"
done
for pair in POV-Ray:povray RIB:rib; do
  montage "$scratch/Raytracing.png" "$scratch/${pair%%:*}.png" -tile 2x1 -geometry +4+4 \
    "$root/docs/pictures/showcase-${pair##*:}.png"
  echo "Wrote docs/pictures/showcase-${pair##*:}.png"
done
