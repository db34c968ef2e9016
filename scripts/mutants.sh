#!/bin/sh
# Plants single-operator faults one at a time in the production sources
# (+/-, </<=, >/>=, ==/!=, &&/||, whole-number constants off by one),
# rebuilds, runs the suite, and lists the faults the suite let through
# (each line as it was planted).
#   sh scripts/mutants.sh [COUNT] [SEED] [FOLDER...]
# COUNT mutants (default 40) are drawn with SEED (default 1) from FOLDERs
# (default: the core and the runner). Builds in build-mutants/. With
# KESTREL_MUTANTS_WHO=1 every test runs and each fault lists the tests that
# caught it.
set -e
cd "$(dirname "$0")/.."
count="${1:-40}"
seed="${2:-1}"
shift 2 2>/dev/null || shift $#
folders="${*:-runtime app geometry cells mesh solver plot report run cases batch canvas}"
cmake -S . -B build-mutants -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_BUILD_BENCH=OFF >/dev/null
cmake --build build-mutants -j2 >/dev/null
exec python3 scripts/mutants.py "$count" "$seed" $folders
