#!/usr/bin/env bash
# Builds what the bench needs and prints its table: start-up and memory against a bare Qt Quick
# window, the memory each page adds when first shown, idle cost, the writes of Apply and Reset
# per firmware family against the designed waits, and the window while the mouse is silent or
# slow (a start-up against a mouse that answers no feature read, an Apply that reads again the
# blocks the connect could not read), all against the virtual TK700 on a virtual display of its
# own.
#   bash bench/run.sh [startup] [pages] [writes] [idle] [stalls]     (default: all five)
#   RUNS=7 IDLE_SECONDS=60 STALL_RUNS=3 by default.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --with-tests
bash scripts/build.sh tk700 tk700-sim tk700-hidapi-sim tk700-bench-bare tk700-bench-mapwait \
  tk700-bench-wakes >&2

display=""
for n in $(seq 90 120); do
  [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
done
[ -n "$display" ] || { echo "no free X display number" >&2; exit 1; }
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
unset LD_PRELOAD
DISPLAY=$display python3 bench/bench.py "$@"
