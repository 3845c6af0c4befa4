#!/bin/sh
# Builds the tool, installs it into build/install and personalises the bundled sample image
# with serial 4711: the echo goes to standard output, the two files beside the executable.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQVR_BUILD_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target Dravel_QVR_USB_Console >/dev/null
mkdir -p build/install
cp build/Dravel_QVR_USB_Console build/install/
status=0
build/install/Dravel_QVR_USB_Console samples/QVR_USB_2.2_synthetic.s "${1:-4711}" || status=$?
echo
echo "exit code $status; wrote build/install/Firmware_Gerado.s and build/install/Process_Log_File.txt" >&2
exit $status
