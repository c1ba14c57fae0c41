#!/bin/sh
# A stand-in RIB renderer for tests: argv is {program, RIB file}, as the exporter runs it.
# It copies $STAND_IN_PICTURE (a few bytes when unset) to the picture the RIB's Display line
# names, unless $STAND_IN_NO_PICTURE is set, and exits with $STAND_IN_EXIT (0 when unset).
set -eu
[ $# -eq 1 ] || { echo "usage: $0 FILE.rib" >&2; exit 2; }
picture=$(sed -n 's/^Display "\([^"]*\)".*/\1/p' "$1")
[ -n "$picture" ] || { echo "$1: no Display line" >&2; exit 1; }
if [ -z "${STAND_IN_NO_PICTURE:-}" ]; then
  if [ -n "${STAND_IN_PICTURE:-}" ]; then cp "$STAND_IN_PICTURE" "$picture"; else printf 'picture' > "$picture"; fi
fi
exit "${STAND_IN_EXIT:-0}"
