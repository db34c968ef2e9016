#!/bin/sh
# Builds Kestrel and runs every test: the release build, the same suite
# under the address and undefined-behaviour sanitizers with the library's
# and the arrays' own checks on, then the fuzzers for a bounded time.
set -e
cd "$(dirname "$0")/.."
# The checkout must be left as it was found: compared at the end.
before=""
if git rev-parse --git-dir >/dev/null 2>&1; then before="$(git status --porcelain)"; fi
sh scripts/install-deps.sh
sh scripts/build.sh
ctest --preset release
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
ctest --preset sanitize
KESTREL_FUZZ_SECONDS="${KESTREL_FUZZ_SECONDS:-45}" sh scripts/fuzz.sh
if git rev-parse --git-dir >/dev/null 2>&1 && [ "$(git status --porcelain)" != "$before" ]; then
    echo "The tests changed the checkout:"
    git status --porcelain
    exit 1
fi
sh scripts/test-share.sh
