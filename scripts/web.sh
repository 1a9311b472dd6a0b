#!/usr/bin/env bash
# The demo in the browser: installs what is missing (Debian's emscripten and chromium, the Dear ImGui
# sources from Debian's imgui source package, the playground's editor from the npm registry at the
# versions web/playground/package-lock.json pins), builds build/web/ (index.html, playground.html and
# what they load) and, unless given --build-only, serves it on 127.0.0.1 and prints the address.
#   scripts/web.sh [--build-only] [--port N]
#   scripts/web.sh --install-only         only installs the packages and fetches the imgui sources
#   scripts/web.sh --configure-only DIR   installs, then only configures the web build into DIR
#   scripts/web.sh --print-packages       lists the Debian packages it installs, one a line
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# The compiler, the browser the tests drive, the tools the build uses.
packages=(emscripten chromium cmake ninja-build dpkg-dev python3 libstb-dev)
mode=serve
port=8018
configure_dir=""
while [ $# -gt 0 ]; do
    case "$1" in
    --build-only) mode=build ;;
    --install-only) mode=install ;;
    --configure-only) mode=configure; configure_dir="${2:?web.sh: --configure-only needs a folder}"; shift ;;
    --print-packages) printf '%s\n' "${packages[@]}"; exit 0 ;;
    --port) port="$2"; shift ;;
    --port=*) port="${1#--port=}" ;;
    -h | --help)
        sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'
        exit 0 ;;
    *) echo "web.sh: unknown option '$1'" >&2; exit 2 ;;
    esac
    shift
done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# 1. Packages.
missing=()
for package in "${packages[@]}"; do installed "$package" || missing+=("$package"); done
# npm comes with Debian's npm package, or with a nodejs package that ships it.
command -v npm >/dev/null || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
    "${sudo_cmd[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

# 2. Dear ImGui's sources: Debian ships the library only as an x86-64 binary, so the web build
#    compiles the imgui source package, fetched once into build/imgui-source.
imgui_cache="$root/build/imgui-source"
imgui_dir="$(find "$imgui_cache" -mindepth 1 -maxdepth 1 -type d -name 'imgui-[0-9]*' 2>/dev/null | head -n 1 || true)"
if [ -z "$imgui_dir" ] || [ ! -f "$imgui_dir/imgui.cpp" ]; then
    # A deb-src entry derived from apt's own deb entries, when there is none.
    "${sudo_cmd[@]}" "$root/scripts/add-deb-src.py"
    rm -rf "$imgui_cache"
    mkdir -p "$imgui_cache"
    (cd "$imgui_cache" && apt-get source imgui)
    imgui_dir="$(find "$imgui_cache" -mindepth 1 -maxdepth 1 -type d -name 'imgui-[0-9]*' | head -n 1)"
fi
[ -f "$imgui_dir/imgui.cpp" ] || { echo "web.sh: no imgui sources in $imgui_cache" >&2; exit 1; }
if [ "$mode" = install ]; then exit 0; fi

# 3. Build. Debian's emcc runs on Debian's node and needs its module folder when another node
#    comes first on the path.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
# emcc keeps the system libraries it builds (few: Debian ships most) in its cache; a user who cannot
# write Debian's cache gets a copy of it in build/.
if [ ! -w /usr/share/emscripten/cache ] && [ -z "${EM_CACHE:-}" ]; then
    export EM_CACHE="$root/build/emscripten-cache"
    [ -d "$EM_CACHE/sysroot" ] || cp -r /usr/share/emscripten/cache "$EM_CACHE"
fi
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi
configure() { # <build folder> <output folder>
    emcmake cmake -S "$root/web" -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DLUMIDOR_IMGUI_SOURCE="$imgui_dir" -DLUMIDOR_WEB_OUTPUT="$2" "${launcher[@]}"
}
if [ "$mode" = configure ]; then
    configure "$configure_dir" "$configure_dir/site"
    exit 0
fi
configure "$root/build/web-cmake" "$root/build/web" >/dev/null
cmake --build "$root/build/web-cmake" -j "$(nproc)"
echo "== Built $root/build/web/index.html"

# 4. The playground: its packages exactly as the lock file pins them (installed again only when the
#    lock changed), then its scripts bundled into one file beside the page, with the loader's command
#    names that the build generated.
playground="$root/web/playground"
if ! cmp -s "$playground/package-lock.json" "$playground/node_modules/.lumidor-installed-lock"; then
    (cd "$playground" && npm ci --ignore-scripts --no-audit --no-fund)
    cp "$playground/package-lock.json" "$playground/node_modules/.lumidor-installed-lock"
fi
"$playground/node_modules/.bin/esbuild" "$playground/main.js" --bundle --minify --format=iife --target=es2020 \
    --alias:psc-keywords="$root/build/web-cmake/generated/psc-keywords.js" --log-level=warning \
    --outfile="$root/build/web/playground.js"
cp "$playground/playground.html" "$root/build/web/playground.html"
echo "== Built $root/build/web/playground.html"

if [ "$mode" = build ]; then exit 0; fi
# 5. Serve build/web on the loopback interface only.
echo "== Serving the demo at http://127.0.0.1:$port/index.html (Ctrl+C stops)"
echo "   parameters: index.html?effect=N&frames=N&seed=N&fixed-dt=SECONDS"
echo "   the playground: http://127.0.0.1:$port/playground.html"
cd "$root/build/web"
exec python3 -m http.server "$port" --bind 127.0.0.1
