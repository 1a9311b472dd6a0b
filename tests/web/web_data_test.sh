#!/usr/bin/env bash
# The web page's data dependencies (cmake/LumidorWebData.cmake) on a small native project: a program
# given a data folder by lumidor_web_data_dependencies, as web/CMakeLists.txt gives the page data/, is
# linked again when a file of the folder changes, is added or is removed, and not when nothing changed.
#   tests/web/web_data_test.sh SOURCE_DIR
set -euo pipefail
source_dir="$(cd "${1:?web_data_test.sh: give the source folder}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/project/data/scripts"
printf 'int main(void) { return 0; }\n' >"$work/project/main.c"
cat >"$work/project/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.22)
project(WebDataTest C)
add_executable(page main.c)
include("$source_dir/cmake/LumidorWebData.cmake")
lumidor_web_data_dependencies(page \${CMAKE_SOURCE_DIR}/data)
CMAKE
echo one >"$work/project/data/config.ini"
echo two >"$work/project/data/scripts/a.psc"
cmake -S "$work/project" -B "$work/build" -G Ninja >/dev/null
cmake --build "$work/build" >/dev/null

failures=0
# expect <links|stays> <what was done>: builds, and checks whether the page was linked.
expect() {
    local output linked=stays
    output="$(cmake --build "$work/build" 2>&1)"
    if grep -q 'Linking C executable page' <<<"$output"; then linked=links; fi
    if [ "$linked" = "$1" ]; then
        echo "ok      $2: the page $1"
    else
        echo "FAILED  $2: the page $linked, expected: $1"
        failures=$((failures + 1))
    fi
}
expect stays "nothing changed"
echo three >"$work/project/data/scripts/a.psc"
expect links "a file under data/ changed"
expect stays "nothing changed since"
echo four >"$work/project/data/scripts/b.psc"
expect links "a file was added"
rm "$work/project/data/config.ini"
expect links "a file was removed"
expect stays "nothing changed since"
exit $((failures > 0))
