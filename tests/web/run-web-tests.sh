#!/usr/bin/env bash
# The web demo's tests: builds build/web (scripts/web.sh installs what is missing), takes the desktop
# pictures of slots 8, 10 and 13 (seed 1, 60 frames of 0.0333 s) with the demo under Xvfb and Mesa
# when it is built, then drives headless Chromium through tests/web/web_tests.mjs (the demo page) and
# tests/web/playground_tests.mjs (the playground, its state lines against lumidor-psc when it is built).
#   tests/web/run-web-tests.sh [DESKTOP_DEMO [LUMIDOR_PSC]]
#   (defaults: build/test/app/lumidor-demo, build/test/tools/psc/lumidor-psc)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
demo="${1:-$root/build/test/app/lumidor-demo}"
psc="${2:-$root/build/test/tools/psc/lumidor-psc}"
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
status=0
node "$root/tests/web/web_tests.mjs" --site "$root/build/web" --out "$root/build/web-test-pictures" "${compare[@]}" ||
    status=1
simulate=()
if [ -x "$psc" ]; then
    simulate=(--psc "$psc" --data "$root/data")
else
    echo "No lumidor-psc at $psc: the playground's state lines are not compared with it."
fi
node "$root/tests/web/playground_tests.mjs" --site "$root/build/web" "${simulate[@]}" || status=1
exit "$status"
