#!/bin/sh
# Cross-compiles the Windows console program (mingw-w64, static) and runs its tests under
# Wine: the unit tests as .exe files, then the end-to-end tests against the .exe.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh --windows
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-windows -j"$(nproc)"
ctest --test-dir build-windows --output-on-failure -j"$(nproc)"
# The end-to-end harness is a host program; it runs the .exe through scripts/wine-run.sh.
cmake -S . -B build-windows/host -DCMAKE_BUILD_TYPE=Release \
  -DQVR_WINDOWS_TOOL="$(pwd)/build-windows/Dravel_QVR_USB_Console.exe" >/dev/null
cmake --build build-windows/host -j"$(nproc)" --target qvr_e2e_tests
ctest --test-dir build-windows/host --output-on-failure -j"$(nproc)" -R '^wine\.'
