#!/bin/sh
# Builds Kestrel and runs every test (widget tests use Qt's offscreen platform).
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
sh scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
