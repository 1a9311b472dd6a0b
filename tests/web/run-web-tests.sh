#!/usr/bin/env bash
# The web demo's tests: builds build/web (scripts/web.sh installs what is missing), takes the desktop
# pictures of slots 8, 10 and 13 (seed 1, 60 frames of 0.0333 s) with the demo under Xvfb and Mesa
# when it is built, then drives headless Chromium through tests/web/web_tests.mjs.
#   tests/web/run-web-tests.sh [DESKTOP_DEMO]   (default: build/test/app/lumidor-demo)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
demo="${1:-$root/build/test/app/lumidor-demo}"
"$root/scripts/web.sh" --build-only

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
compare=()
if [ -x "$demo" ]; then
    for slot in 8 10 13; do
        (cd "$root/data" && LIBGL_ALWAYS_SOFTWARE=1 LUMIDOR_NO_DIALOGS=1 SDL_AUDIODRIVER=dummy \
            xvfb-run -a -s "-screen 0 1280x1024x24" "$demo" --effect "$slot" --frames 60 --fixed-dt 0.0333 \
            --seed 1 --screenshot "$work/slot$slot.png")
    done
    compare=(--desktop "$work")
else
    echo "No desktop demo at $demo: the comparison with the desktop picture is skipped."
fi
node "$root/tests/web/web_tests.mjs" --site "$root/build/web" --out "$root/build/web-test-pictures" "${compare[@]}"
