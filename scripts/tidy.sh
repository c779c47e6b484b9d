#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy: bugprone and modernize checks) over every C++ source of the project,
# with the compile commands of ./build. Fails on any finding. Extra arguments are file patterns
# (regular expressions) that narrow the run, e.g. scripts/tidy.sh device/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh --with-tidy
tidy=$(command -v clang-tidy-14)
runner=$(command -v run-clang-tidy-14)
if [ ! -f build/compile_commands.json ]; then
  bash scripts/build.sh
fi
# The generated sources (moc, resources) need to exist for the sources that include them.
cmake --build build

root=$(pwd)
folders='app|base|controller|device|input|macro|platform|view|tools|tests'
if [ $# -gt 0 ]; then
  pattern="^$root/($(IFS='|'; echo "$*"))"
else
  pattern="^$root/($folders)/"
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
jobs=$(nproc 2>/dev/null || echo 2)
if "$runner" -clang-tidy-binary "$tidy" -p build -j "$jobs" -quiet "$pattern" >"$log" 2>&1 &&
   ! grep -qE '(warning|error): ' "$log"; then
  echo "clang-tidy: no findings"
else
  grep -E '(warning|error): ' "$log" | sed 's/\x1b\[[0-9;]*m//g' | sort -u >&2 || cat "$log" >&2
  exit 1
fi
