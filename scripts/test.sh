#!/usr/bin/env bash
# Installs what is missing, checks that every build finds only what those installs provide, builds, and
# runs every test: the unit tests, the API reference, the installed package used by outside programs,
# the same unit tests in an address + undefined-behaviour sanitizer build, the real-OpenGL tests and the
# demo end to end under Xvfb with Mesa, the fuzzers (textures, scripts, config, bitmaps) for a bounded
# time, and the web demo in headless Chromium.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/web.sh" --install-only
# The playground's npm packages (web.sh installed npm), as web/playground/package-lock.json pins them:
# its module tests use them. The mark is the one web.sh looks at before installing them again.
(cd "$root/web/playground" && npm ci --ignore-scripts --no-audit --no-fund &&
    cp package-lock.json node_modules/.lumidor-installed-lock)
source "$root/scripts/build-options.sh"
jobs="$(nproc)"

# A package that is merely present on this machine must not make a build work here and fail elsewhere.
echo "== Dependency audit: every build's system files come from the listed packages"
"$root/scripts/audit-deps.sh"

echo "== Formatting: every C++ file as .clang-format lays it out"
"$root/scripts/check-format.sh"

# Mesa's software rasteriser; never a dialog in a test.
export LIBGL_ALWAYS_SOFTWARE=1
export LUMIDOR_NO_DIALOGS=1
export SDL_AUDIODRIVER=dummy

echo "== Release build: unit, OpenGL and end-to-end tests"
cmake -S "$root" -B "$root/build/test" "${lumidor_test_options[@]}"
cmake --build "$root/build/test" -j "$jobs"
# The API reference: a public name without a comment fails the build.
cmake --build "$root/build/test" --target docs
# ctest also installs this build into a temporary prefix and builds programs and the examples
# against it (label install).
xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$root/build/test" --output-on-failure -j "$jobs"

echo "== Sanitizer build (address, undefined behaviour): unit tests"
cmake -S "$root" -B "$root/build/sanitize" "${lumidor_sanitize_options[@]}"
cmake --build "$root/build/sanitize" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$root/build/sanitize" --output-on-failure -j "$jobs" -L unit

# The soak checks for leaks itself before shut-down (at exit the GL driver is unloaded, and its
# leaks would show as "<unknown module>", which no suppression can name).
echo "== Sanitizer build: a one-cycle soak of the demo under LeakSanitizer (system libraries suppressed)"
(cd "$root/data" && xvfb-run -a -s "-screen 0 1280x1024x24" env \
    ASAN_OPTIONS=detect_leaks=1:leak_check_at_exit=0:abort_on_error=1 \
    LSAN_OPTIONS="suppressions=$root/tests/app/lsan_system_libraries.supp:print_suppressions=0" \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$root/build/sanitize/app/lumidor-demo" --soak 1 --gl-debug)

if [ -x "$root/tests/fuzz/run-fuzzers.sh" ]; then
    echo "== Fuzzers (clang, libFuzzer): corpus replay and a bounded run each"
    "$root/tests/fuzz/run-fuzzers.sh" "$root/build/fuzz"
fi
echo "== The demo in the browser: emscripten build, headless Chromium"
"$root/tests/web/run-web-tests.sh" "$root/build/test/app/lumidor-demo"

echo "== All tests passed"
