#!/usr/bin/env bash
# Installs what is missing, builds the demo and the script checker lumidor-psc (Release) and starts the
# demo with data/ as working directory.
# Extra arguments go to the demo (see --help).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
source "$root/scripts/build-options.sh"
cmake -S "$root" -B "$root/build/release" "${lumidor_demo_options[@]}"
cmake --build "$root/build/release" --target lumidor-demo lumidor-psc
cd "$root/data"
exec "$root/build/release/app/lumidor-demo" "$@"
