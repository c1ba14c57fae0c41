#!/usr/bin/env bash
# Builds lumetra and renders the gallery: a small scene of every object kind and texture
# pattern into docs/gallery/ and the page docs/gallery.md (scripts/gallery.py writes them).
#
#   scripts/gallery.sh [--size WxH] [--only NAME ...]
#
# LUMETRA=path/to/lumetra uses that executable and builds nothing.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
lumetra="${LUMETRA:-}"
if [ -z "$lumetra" ]; then
  source "$root/scripts/packages.sh"
  # The text scene is set in DejaVu Sans Bold.
  ensure_packages $LUMETRA_BUILD_PACKAGES fonts-dejavu-core python3 imagemagick
  cmake --preset default -S "$root" -DLUMETRA_BENCH=OFF >/dev/null
  cmake --build "$root/build" --target lumetra_cli
  lumetra="$root/build/bin/lumetra"
fi
python3 "$root/scripts/gallery.py" "$lumetra" "$@"
