#!/bin/sh
# Configures and builds Kestrel in ./build (optimised, with debug info).
set -e
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release
