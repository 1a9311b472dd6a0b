#!/usr/bin/env bash
# Usage: install_test.sh BUILD_DIR SOURCE_DIR WORK_DIR
# Installs BUILD_DIR into WORK_DIR/"pre fix" and checks what a user of the package relies on.
set -euo pipefail
build="$1" source="$2" work="$3"
prefix="$work/pre fix"
rm -rf "$work"
mkdir -p "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "== $*"; }

step "install into '$prefix'"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }
for file in include/lumidor/lumidor.h include/lumidor/engine/particle_container.h \
            include/lumidor/script/particle_script.h include/lumidor/font/particle_font.h \
            include/lumidor/textures/textures.h include/lumidor/terrain/terrain.h \
            lib/cmake/Lumidor/LumidorConfig.cmake lib/cmake/Lumidor/LumidorConfigVersion.cmake \
            lib/pkgconfig/lumidor.pc lib/liblumidor_engine.a \
            bin/lumidor-psc bin/lumidor-demo share/lumidor/textures.tga share/lumidor/scripts/ParticleScript1.psc; do
    [ -e "$prefix/$file" ] || fail "not installed: $file"
done
# Private headers stay out of the package.
[ ! -e "$prefix/include/lumidor/engine/particle_sweep.inl" ] || fail "the sweep's internals were installed"
[ ! -e "$prefix/include/lumidor/engine/particle_blocks.h" ] || fail "the particle layout was installed"

step "the installed headers are the contract: no particle layout, only <lumidor/...>"
if grep -rnwE 'TParticleBlock|TParticleColdBlock|TBlockVector3|CopyParticle|SetBlockColor|kParticleBlockLanes' \
        "$prefix/include"; then
    fail "the installed headers name the particle layout or its helpers"
fi
[ ! -e "$prefix/include/engine" ] || fail "a bare engine/ folder was installed on the include path"
# Each installed header compiles on its own with nothing but P/include on the include path.
(cd "$prefix/include" && find lumidor -name '*.h' | sort) >"$work/headers.txt"
[ "$(wc -l <"$work/headers.txt")" -gt 20 ] || fail "too few installed headers: $(cat "$work/headers.txt")"
while read -r header; do
    printf '#include <%s>\n' "$header" >"$work/one header.cpp"
    c++ -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -Werror -I "$prefix/include" "$work/one header.cpp" ||
        fail "<$header> does not compile with only -I P/include"
done <"$work/headers.txt"
# A consumer with headers named like ours gets its own, and ours still find theirs.
mkdir -p "$work/own headers/engine"
printf '#pragma once\nstruct TConsumerVector {\n    int Value = 7;\n};\n' >"$work/own headers/engine/vector.h"
cat >"$work/own headers/main.cpp" <<'EOF'
#include <lumidor/lumidor.h>

#include "engine/vector.h"

int main() {
    const TConsumerVector own;
    const lumidor::TVector3 ours{1, 2, 3};
    return own.Value == 7 && ours.y == 2 ? 0 : 1;
}
EOF
c++ -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -Werror -I "$work/own headers" -I "$prefix/include" \
    "$work/own headers/main.cpp" || fail "a consumer's own engine/vector.h beside Lumidor's headers"

step "consumer through find_package"
cmake -S "$source/tests/install/consumer" -B "$work/cmake consumer" -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_BUILD_TYPE=Release >"$work/consumer.log" 2>&1 || { cat "$work/consumer.log"; fail "configure"; }
cmake --build "$work/cmake consumer" >>"$work/consumer.log" 2>&1 || { cat "$work/consumer.log"; fail "build"; }
"$work/cmake consumer/acceptance"

step "consumer through pkg-config"
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
[ "$(pkg-config --modversion lumidor)" = "0.2.0" ] || fail "lumidor.pc version"
flags="$(pkg-config --cflags --libs lumidor)"
# pkg-config escapes the prefix's space with a backslash; the shell (as in a Makefile) reads it back.
eval "c++ -std=c++20 -O2 -Wall -Wextra -Wpedantic -Werror \"$source/tests/install/consumer/acceptance.cpp\" \
      -o \"$work/pkg-config acceptance\" $flags"
"$work/pkg-config acceptance"

step "a request for version 1.0 is refused with CMake's message"
if cmake -S "$source/tests/install/consumer" -B "$work/wrong version" -DCMAKE_PREFIX_PATH="$prefix" \
         -DLUMIDOR_WANTED=1.0 >"$work/version.log" 2>&1; then
    fail "find_package(Lumidor 1.0) succeeded"
fi
grep -q 'compatible with requested version "1.0"' "$work/version.log" || { cat "$work/version.log"; fail "no version message"; }
grep -q '0.2.0' "$work/version.log" || { cat "$work/version.log"; fail "the message does not name 0.2.0"; }

step "examples"
for example in headless embed; do
    cmake -S "$source/examples/$example" -B "$work/$example" -DCMAKE_PREFIX_PATH="$prefix" \
          -DCMAKE_BUILD_TYPE=Release >"$work/$example.log" 2>&1 || { cat "$work/$example.log"; fail "configure $example"; }
    cmake --build "$work/$example" >>"$work/$example.log" 2>&1 || { cat "$work/$example.log"; fail "build $example"; }
done
"$work/headless/lumidor-headless-fountain" "$work/top view.png" | tee "$work/headless.txt"
grep -q "particles per second" "$work/headless.txt" || fail "no particles-per-second figure"
[ "$(head -c 8 "$work/top view.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "no PNG written"

step "the examples' options"
mkdir -p "$work/options"
for example in headless/lumidor-headless-fountain embed/lumidor-embed; do
    (cd "$work/options" && "$work/$example" --help >"$work/help.txt") || fail "$example --help"
    grep -q "^usage: " "$work/help.txt" || fail "$example --help prints no usage"
    status=0
    (cd "$work/options" && "$work/$example" --bogus >/dev/null 2>"$work/bogus.txt") || status=$?
    [ "$status" -eq 2 ] || fail "$example --bogus: exit status $status, not 2"
    grep -q "unknown option --bogus" "$work/bogus.txt" || fail "$example --bogus: no message"
done
status=0
(cd "$work/options" && "$work/embed/lumidor-embed" 12x >/dev/null 2>&1) || status=$?
[ "$status" -eq 2 ] || fail "lumidor-embed 12x: exit status $status, not 2"
[ -z "$(ls -A "$work/options")" ] || fail "an option was taken for a file name: $(ls -A "$work/options")"

step "installed tools"
(cd "$prefix/share/lumidor" && "$prefix/bin/lumidor-psc" scripts/ParticleScript1.psc >/dev/null) ||
    fail "lumidor-psc on an installed script"
checked="$(cd "$work" && "$prefix/bin/lumidor-psc" --format=gcc --root "$prefix/share/lumidor" \
    "$prefix/share/lumidor/scripts/ParticleScript1.psc")" || fail "lumidor-psc --root on an installed script"
[ -z "$checked" ] || fail "lumidor-psc --root found problems: $checked"

if [ -n "${DISPLAY:-}" ]; then
    step "installed demo started from a folder without data"
    mkdir -p "$work/elsewhere"
    (cd "$work/elsewhere" && LUMIDOR_NO_DIALOGS=1 "$prefix/bin/lumidor-demo" --frames 3 --fixed-dt 0.05 \
        --seed 1 --screenshot "$work/demo.png") || fail "installed demo"
    [ -s "$work/demo.png" ] || fail "installed demo wrote no screenshot"

    step "the embedding example draws the installed script"
    LUMIDOR_NO_DIALOGS=1 "$work/embed/lumidor-embed" 3 2>"$work/embed.txt" ||
        { cat "$work/embed.txt"; fail "lumidor-embed 3"; }
    ! grep -q "error:" "$work/embed.txt" ||
        { cat "$work/embed.txt"; fail "lumidor-embed reported script problems"; }

    step "a demo with no data anywhere says where it looked"
    mkdir -p "$work/lonely/bin"
    cp "$prefix/bin/lumidor-demo" "$work/lonely/bin/"
    status=0
    (cd "$work/elsewhere" && LUMIDOR_NO_DIALOGS=1 "$work/lonely/bin/lumidor-demo" --frames 1) \
        2>"$work/nodata.txt" || status=$?
    [ "$status" -eq 1 ] || fail "exit status $status without data"
    grep -qF "$work/elsewhere" "$work/nodata.txt" && grep -qF "$work/lonely/share/lumidor" "$work/nodata.txt" ||
        { cat "$work/nodata.txt"; fail "the message does not name both folders"; }
else
    echo "(no DISPLAY: the installed demo is not started)"
fi
echo "install and consume: all checks passed"
