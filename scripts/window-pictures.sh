#!/usr/bin/env bash
# Builds lumetra-gui and takes the pictures of its window in docs/pictures/: the showcase open
# with the plug-in's control bar along the bottom of the views, and rendered through the
# plug-in's "&Render" into its render window; the plug-in's "Rendering Options" sheet on each
# of its pages, the Active Jobs page while a large render runs; and the timeline editor's curve
# view of the orbit example's Marble Ball. Runs the program under a virtual X server, with
# settings of its own so the sheet shows the defaults.
#
#   scripts/window-pictures.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"
ensure_packages $LUMETRA_BUILD_PACKAGES fonts-dejavu-core qt6-base-dev xvfb xauth
cmake --preset default -S "$root" -DLUMETRA_BENCH=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build "$root/build" --target lumetra_gui lumetra_cli
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
# A copy, so the render's output folder lands in the scratch folder.
cp -r "$root/examples/showcase" "$scratch/"
export LUMETRA_CONFIG_HOME="$scratch/config"
shoot() {
  xvfb-run -a -s "-screen 0 1600x1000x24" "$root/build/bin/lumetra-gui" "$scratch/showcase/showcase.json" "$@"
}
shoot --size 480x270 --menu "&Render" --screenshot "$root/docs/pictures/window.png" --after 5
shoot --options-page 1 --screenshot "$root/docs/pictures/options-rendering.png"
# The Active Jobs page while a large render runs, its window left hidden so that the page shows.
cp -r "$root/examples/showcase" "$scratch/hidden"
sed -i 's/"show_window": true/"show_window": false/' "$scratch/hidden/showcase.json"
xvfb-run -a -s "-screen 0 1600x1000x24" "$root/build/bin/lumetra-gui" "$scratch/hidden/showcase.json" \
  --size 1600x1200 --menu "&Render" --options-page 2 --screenshot "$root/docs/pictures/options-jobs.png" --after 2
shoot --options-page 3 --screenshot "$root/docs/pictures/options-animation.png"
# The orbit's keying script plays when lumetra key opens it; keying its first key again saves
# the keys with the Marble Ball selected, which the editor opens on.
cp -r "$root/examples/orbit" "$scratch/"
"$root/build/bin/lumetra" key "$scratch/orbit/orbit.json" \
  --object "Marble Ball" --time 0 --interpolation cubic --translate -2.5,1,0 -o "$scratch/orbit/orbit-keyed.json"
xvfb-run -a -s "-screen 0 1600x1000x24" "$root/build/bin/lumetra-gui" "$scratch/orbit/orbit-keyed.json" \
  --timeline --screenshot "$root/docs/pictures/timeline.png"
