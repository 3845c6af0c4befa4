#!/bin/sh
# Builds the tool and runs every test: unit tests, fault injection, the sample check, the
# end-to-end tests of the built executable, and a short run of each fuzz target.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQVR_BUILD_TESTS=ON -DQVR_WINDOWS_TOOL= >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
# A short run of every fuzz target (about a minute in all).
sh scripts/fuzz.sh 10
