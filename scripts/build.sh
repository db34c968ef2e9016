#!/bin/sh
# Configures and builds Kestrel in ./build (optimised, with debug info).
set -e
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
