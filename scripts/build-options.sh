# The CMake options of the builds the scripts make, kept in one place so that the dependency audit
# (scripts/audit-deps.sh) configures exactly what scripts/test.sh and scripts/demo.sh build.
# Sourced, not run.
# shellcheck shell=bash disable=SC2034 # the scripts that source it read the arrays

# scripts/test.sh: build/test (every test, benchmarks, the docs) and build/sanitize.
lumidor_test_options=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
lumidor_sanitize_options=(-G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMIDOR_SANITIZE=ON -DLUMIDOR_BUILD_BENCH=OFF)
# scripts/demo.sh: build/release.
lumidor_demo_options=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMIDOR_BUILD_TESTS=OFF -DLUMIDOR_BUILD_BENCH=OFF)
# tests/fuzz/run-fuzzers.sh configures build/fuzz with CC=clang-14 CXX=clang++-14 and these options
# (the same list is written there).
lumidor_fuzz_options=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMIDOR_FUZZ=ON -DLUMIDOR_BUILD_TESTS=OFF
                      -DLUMIDOR_BUILD_BENCH=OFF -DLUMIDOR_BUILD_APP=OFF)
