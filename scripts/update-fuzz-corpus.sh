#!/bin/sh
# Fuzzes each target and merges the inputs that reached new paths into the
# committed corpus in fuzz/corpus (commit them to keep them).
#   KESTREL_FUZZ_SECONDS  time per target (default 60)
set -e
cd "$(dirname "$0")/.."
KESTREL_FUZZ_MERGE=1 exec sh scripts/fuzz.sh
