#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz) with clang in ./build-fuzz and runs each for
# SECONDS (default 60), or until RUNS inputs when given, starting from the committed corpus
# (tests/fuzz/corpus/<target>; new finds go to build-fuzz/corpus/<target>). Prints one line of
# figures per target and fails when a target found a crash, a leak or a broken property; the
# input that did it is kept in build-fuzz/crashes/.
#   bash bench/fuzz.sh [SECONDS] [RUNS]
# FUZZ_INPUT_LEAKS=0 leaves out libFuzzer's leak scan after single inputs (the exit-time scan
# stays): Qt keeps every parsed settings file in a cache, so each input of the file targets looks
# like a leak and costs a full scan, twenty times the input itself. Long runs use it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
runs="${2:--1}"
targets=(fuzz_reply fuzz_device_table fuzz_key_matrix fuzz_macro_file fuzz_profile fuzz_language
         fuzz_macro_encoder)

if [ ! -f build-fuzz/CMakeCache.txt ]; then
  CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTK700_FUZZ=ON -DTK700_BUILD_TESTS=OFF >/dev/null
fi
cmake --build build-fuzz --target fuzz_targets

unset LD_PRELOAD
# Absolute paths: the targets work in a private folder of their own, made their current one.
root="$PWD"
export QT_QPA_PLATFORM=offscreen
mkdir -p build-fuzz/crashes build-fuzz/logs
printf '%-20s %12s %8s %8s %8s\n' target inputs seconds corpus crashes
failed=0
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t" "tests/fuzz/corpus/$t"
  log="build-fuzz/logs/$t.log"
  start=$(date +%s)
  status=0
  input_leaks="${FUZZ_INPUT_LEAKS:-1}"
  "$root/build-fuzz/bin/$t" -max_total_time="$seconds" -runs="$runs" -print_final_stats=1 \
    -detect_leaks="$input_leaks" \
    -artifact_prefix="$root/build-fuzz/crashes/$t-" -max_len=4096 \
    "$root/build-fuzz/corpus/$t" "$root/tests/fuzz/corpus/$t" >"$log" 2>&1 || status=$?
  took=$(( $(date +%s) - start ))
  inputs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  corpus=$(find "build-fuzz/corpus/$t" "tests/fuzz/corpus/$t" -type f | wc -l)
  crashes=0
  if [ "$status" -ne 0 ]; then
    crashes=1
    failed=1
  fi
  printf '%-20s %12s %8s %8s %8s\n' "$t" "${inputs:-?}" "$took" "$corpus" "$crashes"
  if [ "$crashes" -ne 0 ]; then
    tail -n 40 "$log"
  fi
done
exit "$failed"
