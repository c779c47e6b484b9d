#!/usr/bin/env bash
# Makes packaging/screenshot-main.png, the software centre's picture of the program: its main
# page against the virtual TK700 with the factory settings, on a virtual display of its own. Run
# it after changing the main page and commit the file. BIN_DIR picks another build's bin/.
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${BIN_DIR:-$PWD/build/bin}"
[ -n "${BIN_DIR:-}" ] || bash scripts/build.sh tk700 tk700-sim tk700-hidapi-sim
if [ -z "${TK700_SHOT_DISPLAY:-}" ]; then
  exec env TK700_SHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

work=$(mktemp -d)
trap 'kill $program $sim 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
# The factory settings in a folder of their own, so the picture never shows what a user changed.
cp "$bin/tk700" "$work/" && cp -r "$bin/modules" "$work/"
socket="$work/sim.sock"
"$bin/tk700-sim" serve --socket "$socket" > /dev/null &
sim=$!
for _ in $(seq 50); do [ -S "$socket" ] && break; sleep 0.1; done
XDG_RUNTIME_DIR="$work" HOME="$work" TK700_SIM_SOCKET="$socket" TK700_POLL_DEVICES=1 \
  LD_PRELOAD="$bin/libtk700-hidapi.so" "$work/tk700" > "$work/log" 2>&1 &
program=$!

window=""
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name "TK700" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { cat "$work/log" >&2; echo "the window did not appear" >&2; exit 1; }
# The logo screen first, then the main page and the mouse's answers.
sleep 6
import -window "$window" -strip "$work/shot.png"
# Without time stamps or a gamma chunk the same pixels give the same file.
convert "$work/shot.png" -strip -define png:exclude-chunks=date,time,gAMA "packaging/screenshot-main.png"
echo "packaging/screenshot-main.png made from the program ($(identify -format '%wx%h' packaging/screenshot-main.png))"
