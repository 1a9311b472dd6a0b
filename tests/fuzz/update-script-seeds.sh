#!/usr/bin/env bash
# Gathers the scripts that the script suites load (up to 4 KiB each, named by a hash of their bytes)
# into tests/fuzz/script-seeds, the seeds of the script fuzzers beside the demo's scripts. Run it after
# adding script tests, and commit the folder.
# Usage: tests/fuzz/update-script-seeds.sh [<test-build-dir>]   (default build/test, configured as
# scripts/test.sh does)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build/test}"
suites=(script_loader_tests script_hostile_tests script_generated_tests)
cmake --build "$build" --target "${suites[@]}"

out="$root/tests/fuzz/script-seeds"
rm -rf "$out"
mkdir -p "$out"
for suite in "${suites[@]}"; do
    LUMIDOR_SCRIPT_SEEDS="$out" "$build/tests/script/$suite" >/dev/null
done
echo "-- $(ls "$out" | wc -l) script seeds in $out"
