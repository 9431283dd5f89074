#!/usr/bin/env bash
# Runs clang-tidy over the page kit, the programs and the tools; any finding
# fails. Usage: lint.sh BUILD_DIR (a build with compile_commands.json).
set -euo pipefail
build=$1
cd "$(dirname "$0")/.."
tidy=$(command -v clang-tidy || command -v clang-tidy-14 || true)
if [ -z "$tidy" ]; then
  echo "clang-tidy not installed" >&2
  exit 77
fi
status=0
# The Windows system layer is not in this build; tests/windows/run.sh checks it.
kit_sources=()
for f in kit/*.cpp; do
  [ "$f" = kit/system_win32.cpp ] || kit_sources+=("$f")
done
output=$("$tidy" --quiet -p "$build" "${kit_sources[@]}" callers/*.cpp nodes/*.cpp oneliners/*.cpp tools/*.cpp 2>&1) || status=$?
grep -v -E '^[0-9]+ warnings? generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter' <<<"$output" || true
exit "$status"
