#!/usr/bin/env bash
# Builds lumetra and runs the main job: renders the showcase scene through the plug-in to
# a PNG picture and says where it is.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"
# The showcase's title is set in DejaVu Sans Bold.
ensure_packages $LUMETRA_BUILD_PACKAGES fonts-dejavu-core
# Only the command is built: no tests, so GoogleTest need not be installed.
cmake --preset default -S "$root" -DLUMETRA_BENCH=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build "$root/build" --target lumetra_cli
picture="$root/build/showcase.png"
"$root/build/bin/lumetra" render "$root/examples/showcase/showcase.json" -o "$picture"
echo "The picture is $picture"
