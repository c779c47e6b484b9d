#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test headless under Xvfb. Without
# arguments it then runs the unit and simulator tests again, built with the sanitizers
# (scripts/test-sanitized.sh, ./build-asan), and each fuzz target for a short while from the
# committed corpus (bench/fuzz.sh, ./build-fuzz); arguments go to ctest and skip both.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh --with-tests
bash scripts/build.sh
cd build
# ctest and xvfb-run are never preloaded; tests that need the virtual TK700 preload it themselves.
unset LD_PRELOAD
# -noreset: the server would otherwise reset whenever its last client leaves, and a test that
# connects in that moment (two run at a time) finds no display.
xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" ctest --output-on-failure -j2 "$@"
cd ..
if [ $# -eq 0 ]; then
  bash scripts/test-sanitized.sh
  bash bench/fuzz.sh 15
fi
