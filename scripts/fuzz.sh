#!/bin/sh
# Builds the libFuzzer targets (clang, ASan, UBSan) and runs each for the given number of
# seconds (default 10), starting from the seeds in fuzz/seeds and keeping what it finds in
# build-fuzz/corpus. Prints the executions of each target; fails on any finding.
#   sh scripts/fuzz.sh 600      # ten minutes a target
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-10}
command -v clang++ >/dev/null || { echo "clang++ is needed (apt-get install clang)" >&2; exit 1; }
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQVR_SANITIZE=ON -DQVR_BUILD_FUZZERS=ON -DQVR_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" >/dev/null
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
status=0
for target in text_lines serial checksum exe_directory date_pattern command_line; do
  corpus=build-fuzz/corpus/$target
  mkdir -p "$corpus" build-fuzz/findings
  log=build-fuzz/fuzz_$target.log
  seeds="fuzz/seeds/$target"
  [ "$target" = text_lines ] && seeds="$seeds samples"  # the bundled image too
  # shellcheck disable=SC2086
  if build-fuzz/fuzz/fuzz_$target -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix=build-fuzz/findings/"$target"- "$corpus" $seeds >"$log" 2>&1; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
    echo "fuzz_$target: $runs executions in ${seconds}s, no finding"
  else
    echo "fuzz_$target: FINDING (see $log and build-fuzz/findings)"
    tail -30 "$log"
    status=1
  fi
done
exit $status
