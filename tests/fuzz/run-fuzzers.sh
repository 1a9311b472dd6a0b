#!/usr/bin/env bash
# Builds the fuzzers (texture decoders, script loader alone and with the runtime, config.ini reader,
# bitmap reader) with clang and libFuzzer, replays each corpus, then fuzzes each for a bounded time
# (LUMIDOR_FUZZ_SECONDS each, default 30) and prints its number of executions. Fails on any crash,
# sanitizer report, timeout or memory blow-up, leaving the input in <build-dir>/fuzz-artifacts.
# Usage: tests/fuzz/run-fuzzers.sh <build-dir>
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build/fuzz}"
mkdir -p "$build" && build="$(cd "$build" && pwd)"
seconds="${LUMIDOR_FUZZ_SECONDS:-30}"

CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLUMIDOR_FUZZ=ON -DLUMIDOR_BUILD_TESTS=OFF -DLUMIDOR_BUILD_BENCH=OFF -DLUMIDOR_BUILD_APP=OFF >/dev/null
cmake --build "$build" --target lumidor_fuzz_bmp lumidor_fuzz_tga lumidor_fuzz_jpeg lumidor_fuzz_seeds \
    lumidor_fuzz_script lumidor_fuzz_script_loader lumidor_fuzz_ini lumidor_fuzz_bitmap

seeds="$build/fuzz-seeds"
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
# The demo's own files seed the other fuzzers. The script fuzzers start from the demo's scripts and
# those of the script tests (tests/fuzz/update-script-seeds.sh gathers them): whole for the runtime
# fuzzer, in short pieces for the loader fuzzer.
scripts=("$root"/data/scripts/*.psc "$root"/tests/fuzz/script-seeds/*.psc)
"$build/tests/fuzz/lumidor_fuzz_seeds" "$seeds" "${scripts[@]}"
mkdir -p "$seeds/script" "$seeds/ini" "$seeds/bitmap"
cp "${scripts[@]}" "$seeds/script/"
cp "$root/data/config.ini" "$seeds/ini/"
cp "$root/data/hm.bmp" "$root/data/fonts/font.bmp" "$seeds/bitmap/"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
total=0
for format in bmp tga jpeg script script_loader ini bitmap; do
    fuzzer="$build/tests/fuzz/lumidor_fuzz_$format"
    # New interesting inputs are kept between runs in the first corpus directory.
    corpus="$build/fuzz-corpus/$format"
    mkdir -p "$corpus"
    options=(-rss_limit_mb=2048 -timeout=10 -artifact_prefix="$artifacts/$format-")
    seedDir="$seeds/$format"
    workDir="$build"
    case "$format" in
    script | script_loader)
        # The script fuzzers run among small textures under the names the seeds load.
        workDir="$seeds/script-folder"
        options+=(-dict="$root/tests/fuzz/script.dict")
        ;;
    esac
    echo "-- $format: replaying $(ls "$corpus" "$seedDir" | grep -vc -e '^$' -e ':$') inputs"
    (cd "$workDir" && "$fuzzer" "${options[@]}" -runs=0 "$corpus" "$seedDir") \
        2>"$build/fuzz-$format-replay.log" || { cat "$build/fuzz-$format-replay.log"; exit 1; }
    echo "-- $format: fuzzing for ${seconds}s"
    (cd "$workDir" && "$fuzzer" "${options[@]}" -max_total_time="$seconds" -print_final_stats=1 \
        "$corpus" "$seedDir") 2>"$build/fuzz-$format.log" || { tail -n 60 "$build/fuzz-$format.log"; exit 1; }
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/fuzz-$format.log" | tail -n 1)"
    echo "-- $format: ${runs:-0} executions, no crash"
    total=$((total + ${runs:-0}))
done
echo "-- fuzzers: $total executions in total, no crash"
