#!/usr/bin/env bash
# Runs clang-tidy over the page kit, the programs, the tools, the tests and
# the benchmark's programs; any finding fails.
# Usage: lint.sh BUILD_DIR (a build with compile_commands.json).
set -euo pipefail
build=$1
cd "$(dirname "$0")/.."
tidy=$(command -v clang-tidy || command -v clang-tidy-14 || true)
if [ -z "$tidy" ]; then
  echo "clang-tidy not installed" >&2
  exit 77
fi
# The Windows system layer is not in this build; tests/windows/run.sh checks it.
sources=()
for f in kit/*.cpp callers/*.cpp nodes/*.cpp oneliners/*.cpp tools/*.cpp tests/kit/*.cpp tests/pages/*.cpp \
  tests/support/*.cpp tests/support/probe/*.cpp tests/reliability/*.cpp bench/*.cpp; do
  [ "$f" = kit/system_win32.cpp ] || sources+=("$f")
done
# One file per clang-tidy, as many at once as there are processors.
status=0
output=$(printf '%s\0' "${sources[@]}" | xargs -0 -n 1 -P "$(nproc)" "$tidy" --quiet -p "$build" 2>&1) || status=$?
grep -v -E '^[0-9]+ warnings? generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter' <<<"$output" || true
exit "$status"
