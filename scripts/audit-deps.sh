#!/usr/bin/env bash
# The dependency audit: configures, from scratch, every build the scripts make (scripts/test.sh's test
# and sanitizer builds, scripts/demo.sh's, the fuzzers' and, when emscripten is installed, the web
# build as scripts/web.sh configures it) into build/audit/, then checks with scripts/check-deps.py that
# every system file they resolved belongs to a package scripts/install-deps.sh or scripts/web.sh
# installs, or to one of their dependencies. A build that does not configure fails the audit too. The
# npm packages scripts/web.sh installs for the playground must be pinned (scripts/check-npm-lock.py).
#   scripts/audit-deps.sh                                  configure every build and check them
#   scripts/audit-deps.sh --check-build-dir DIR [...]     only check configured builds (see check-deps.py)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ $# -gt 0 ]; then exec "$root/scripts/check-deps.py" "$@"; fi
source "$root/scripts/build-options.sh"
audit="$root/build/audit"
mkdir -p "$audit"
configured=()
failed=()

# configure <name> <command...>: a fresh configure into $audit/<name>, its output in $audit/<name>.log.
configure() {
    local name="$1"
    shift
    rm -rf "${audit:?}/$name"
    if "$@" >"$audit/$name.log" 2>&1; then
        configured+=(--check-build-dir "$audit/$name")
    else
        failed+=("$name")
        echo "audit: the $name build does not configure on this machine (full output: $audit/$name.log):"
        local summary
        summary="$(grep -E -A4 'CMake Error|not found|Could NOT find' "$audit/$name.log" |
            grep -v -e '^--$' -e '^\s*$' | head -n 24 || true)"
        [ -n "$summary" ] || summary="$(tail -n 10 "$audit/$name.log")"
        sed 's/^/    /' <<<"$summary"
    fi
}

configure test cmake -S "$root" -B "$audit/test" "${lumidor_test_options[@]}"
configure sanitize cmake -S "$root" -B "$audit/sanitize" "${lumidor_sanitize_options[@]}"
configure demo cmake -S "$root" -B "$audit/demo" "${lumidor_demo_options[@]}"
configure fuzz env CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$audit/fuzz" "${lumidor_fuzz_options[@]}"
if command -v emcmake >/dev/null; then
    configure web "$root/scripts/web.sh" --configure-only "$audit/web"
else
    echo "audit: the web build is not checked: emscripten is not installed (scripts/web.sh --install-only)"
fi

status=0
"$root/scripts/check-npm-lock.py" "$root/web/playground" || status=$?
if [ ${#configured[@]} -gt 0 ]; then
    "$root/scripts/check-deps.py" "${configured[@]}" || status=$?
fi
if [ ${#failed[@]} -gt 0 ]; then
    echo "audit: FAILED: these builds do not configure: ${failed[*]}"
    [ "$status" -ne 0 ] || status=1
fi
echo "audit: $((${#configured[@]} / 2)) builds configured and checked in ${SECONDS}s"
exit "$status"
