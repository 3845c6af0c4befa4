#!/bin/sh
# Builds the tool and runs every test: unit tests, the sample check and the end-to-end
# tests of the built executable.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQVR_BUILD_TESTS=ON -DQVR_WINDOWS_TOOL= >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
