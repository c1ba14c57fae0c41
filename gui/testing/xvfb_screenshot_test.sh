#!/bin/sh
# lumetra-gui as a person starts it, under a virtual X server: the showcase opened, the
# plug-in's "&Render" run from its menu, a picture of the windows saved and the program ended
# by itself; a picture that cannot be written and a scene that cannot be read end it too.
# Usage: xvfb_screenshot_test.sh LUMETRA_GUI SOURCE_DIR
set -eu
gui="$1"
source_dir="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -r "$source_dir/examples/showcase" "$work/scene"
cp -r "$source_dir/testdata/scenes/every-kind/." "$work/scene/"

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

run() {
  xvfb-run -a -s "-screen 0 1280x900x24" "$gui" "$@"
}

# The showcase shows its render window: the picture is written to the scene's output folder,
# which the host makes, and the screenshot shows it in the window, where the program says.
run "$work/scene/showcase.json" --size 160x120 --menu "&Render" --screenshot "$work/shot.png" --after 3 \
  >"$work/out" || fail "lumetra-gui exited with $?"
[ -s "$work/shot.png" ] || fail "no screenshot"
[ "$(head -c 4 "$work/shot.png" | tail -c 3)" = "PNG" ] || fail "the screenshot is no PNG file"
[ -s "$work/scene/out/showcase.png" ] || fail "the render wrote no picture"
[ "$(identify -format %wx%h "$work/scene/out/showcase.png")" = 160x120 ] || fail "the picture is not 160x120"
window="$(sed -n 's/^  "showcase" \([0-9]*\)x\([0-9]*\)+\([0-9]*\)+\([0-9]*\)$/160x120+\3+\4/p' "$work/out")"
[ -n "$window" ] || fail "no render window in the screenshot: $(cat "$work/out")"
colours="$(convert "$work/shot.png" -crop "$window" +repage -format %k info:)"
[ "$colours" -gt 200 ] || fail "the render window shows $colours colours, not a rendered picture"

# Without an X server: xvfb-run's own exit status (5 when it cannot clean up its temporary
# folder) would stand in for the program's.
status=0
QT_QPA_PLATFORM=offscreen "$gui" "$work/scene/every-kind.json" --screenshot "$work/no-folder/shot.png" --after 0 \
  2>"$work/err" || status=$?
[ "$status" -eq 1 ] || fail "an unwritable screenshot exited with $status, not 1"
grep -q "cannot write" "$work/err" || fail "no message for the unwritable screenshot"

printf '{"format": "lumetra-scene", "version": 1, "objects": [{"type": "cube"}]}' >"$work/bad.json"
status=0
QT_QPA_PLATFORM=offscreen "$gui" "$work/bad.json" 2>"$work/err" || status=$?
[ "$status" -eq 2 ] || fail "a bad scene exited with $status, not 2"
grep -q "bad.json" "$work/err" || fail "the message does not name the bad scene"
echo "lumetra-gui under Xvfb: ok"
