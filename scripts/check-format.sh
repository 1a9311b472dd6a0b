#!/usr/bin/env bash
# Checks that every C++ file of the tree is laid out as .clang-format says (Debian's clang-format);
# with --fix, formats them in place instead.
#   scripts/check-format.sh [--fix]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
mode=(--dry-run --Werror)
case "${1:-}" in
"") ;;
--fix) mode=(-i) ;;
*) echo "check-format.sh: unknown option '$1'" >&2; exit 2 ;;
esac
# The files git knows of in a checkout; every C++ file outside the build trees otherwise.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files -- '*.cpp' '*.h' '*.inl')
else
    mapfile -t files < <(find . -path ./build -prune -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.inl' \) -print)
fi
[ ${#files[@]} -gt 0 ] || { echo "check-format.sh: no C++ file found in $root" >&2; exit 1; }
clang-format "${mode[@]}" "${files[@]}"
echo "-- ${#files[@]} C++ files formatted as .clang-format says"
