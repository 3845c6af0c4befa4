#!/bin/sh
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole
# unit and end-to-end suite against it; any report fails the run.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build-sanitized -DCMAKE_BUILD_TYPE=Debug -DQVR_SANITIZE=ON -DQVR_WINDOWS_TOOL= >/dev/null
cmake --build build-sanitized -j"$(nproc)"
# libfaketime is preloaded ahead of the runtime in the end-to-end runs: that order is fine.
export ASAN_OPTIONS="verify_asan_link_order=0:detect_leaks=1:abort_on_error=0:exitcode=99"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-sanitized --output-on-failure -j"$(nproc)"
