#!/usr/bin/env bash
# Builds lumetra and runs the main job: the host loads the plug-in and shows what it offers.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"
ensure_packages $LUMETRA_BUILD_PACKAGES
cmake --preset default -S "$root" -DLUMETRA_BENCH=OFF >/dev/null
cmake --build "$root/build" --target lumetra_cli
"$root/build/bin/lumetra" plugin-info
