#!/usr/bin/env bash
# Prints how long the program takes to map its window and how much memory it holds, against the
# virtual TK700 on a virtual display. Run after a build: bash bench/startup.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
bin="$PWD/build/bin"
[ -x "$bin/tk700" ] || { echo "build first: bash scripts/build.sh" >&2; exit 1; }

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r "$bin/modules" "$bin/tk700" "$work/"
mkdir -m 700 "$work/xdg"
Xvfb :97 -screen 0 1920x1080x24 >/dev/null 2>&1 &
sleep 1
"$bin/tk700-sim" serve --socket "$work/sim.sock" >/dev/null &
sleep 0.5

for i in $(seq "$runs"); do
  start=$(date +%s%N)
  DISPLAY=:97 XDG_RUNTIME_DIR="$work/xdg" TK700_SIM_SOCKET="$work/sim.sock" TK700_POLL_DEVICES=1 \
    LD_PRELOAD="$bin/libtk700-hidapi.so" "$work/tk700" >/dev/null 2>&1 &
  pid=$!
  DISPLAY=:97 xdotool search --sync --onlyvisible --name '^Talvemark TK700$' >/dev/null
  mapped=$(( ($(date +%s%N) - start) / 1000000 ))
  sleep 3
  hwm=$(awk '/VmHWM/ {print $2}' /proc/$pid/status)
  rss=$(awk '/VmRSS/ {print $2}' /proc/$pid/status)
  cpu=$(awk '{print $14 + $15}' /proc/$pid/stat)
  echo "run $i: window mapped after ${mapped} ms, peak RSS $((hwm / 1024)) MB, RSS after 3 s $((rss / 1024)) MB, CPU ticks $cpu"
  kill "$pid"; wait "$pid" 2>/dev/null || true
done
