#!/usr/bin/env bash
# The dependency audit configures the fuzzers' build with scripts/build-options.sh's fuzz options; this
# fails when tests/fuzz/run-fuzzers.sh configures with other ones (unless it reads them from there),
# since the audit would then check a build nobody makes.
# Usage: fuzz_build_options_test.sh SOURCE_DIR
set -euo pipefail
root="${1:?usage: fuzz_build_options_test.sh SOURCE_DIR}"
script="$root/tests/fuzz/run-fuzzers.sh"
source "$root/scripts/build-options.sh"
if grep -q 'lumidor_fuzz_options' "$script"; then
    echo "run-fuzzers.sh reads the options from scripts/build-options.sh"
    exit 0
fi
expected="$(printf '%s\n' "${lumidor_fuzz_options[@]}" | grep -- '^-D' | sort)"
actual="$(grep -o -- '-D[A-Za-z_]*=[A-Za-z0-9_]*' "$script" | sort)"
if [ "$expected" != "$actual" ]; then
    echo "tests/fuzz/run-fuzzers.sh and scripts/build-options.sh configure the fuzzers differently:"
    diff <(echo "$expected") <(echo "$actual") | sed 's/^/    /' || true
    exit 1
fi
grep -q 'CC=clang-14 CXX=clang++-14' "$script" || {
    echo "tests/fuzz/run-fuzzers.sh no longer configures with CC=clang-14 CXX=clang++-14, as the audit does"
    exit 1
}
echo "run-fuzzers.sh configures with the audit's options"
