#!/bin/sh
# Builds Kestrel and runs every test: the release build, the same suite
# under the address and undefined-behaviour sanitizers with the library's
# and the arrays' own checks on, then the fuzzers for a bounded time.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
sh scripts/build.sh
ctest --preset release
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
ctest --preset sanitize
KESTREL_FUZZ_SECONDS="${KESTREL_FUZZ_SECONDS:-45}" sh scripts/fuzz.sh
