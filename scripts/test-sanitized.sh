#!/usr/bin/env bash
# Builds the tests of the given labels (default: unit and sim, leaving out those that drive the
# program on a display, e2e) with AddressSanitizer and UndefinedBehaviorSanitizer in ./build-asan
# and runs them headless. Only those tests and what they
# link are built, which keeps the sanitizer pass within the time of the plain suite.
set -euo pipefail
cd "$(dirname "$0")/.."
labels="${1:-unit|sim}"
exclude="${2:-e2e}"

if [ ! -f build-asan/CMakeCache.txt ]; then
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTK700_SANITIZE=ON
else
  cmake build-asan >/dev/null
fi
# The test names are their executables' target names.
mapfile -t tests < <(cd build-asan && ctest -N -L "$labels" -LE "$exclude" | sed -n 's/^ *Test *#[0-9]*: //p')
if [ ${#tests[@]} -eq 0 ]; then
  echo "no tests labelled $labels (without $exclude)" >&2
  exit 1
fi
cmake --build build-asan --target "${tests[@]}"
cd build-asan
unset LD_PRELOAD
# A sanitizer report ends the test that triggers it.
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" ctest --output-on-failure -j2 -L "$labels" -LE "$exclude"
