#!/usr/bin/env bash
# windows/run.sh - cross-builds the Windows programs and runs the end-to-end
# page tests against them under Wine, with Windows paths.
#
# Usage: tests/windows/run.sh [LINUX_BUILD]
# LINUX_BUILD (default: $BUILD_DIR, else build) must hold the built
# page_tests; the Windows build goes to LINUX_BUILD-windows. As root, the
# cross compiler and Wine are installed when missing.
set -euo pipefail
cd "$(dirname "$0")/../.."

linux_build=${1:-${BUILD_DIR:-build}}
windows_build=$linux_build-windows

bash tools/ensure-packages.sh "the Windows tests" g++-mingw-w64-x86-64 wine64 wine

cmake -S . -B "$windows_build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$windows_build" -j "$(nproc)"

# Nothing but Windows' own DLLs may be needed.
for program in tembrix quandelo 5morvane; do
  foreign=$(x86_64-w64-mingw32-objdump -p "$windows_build/$program.exe" | sed -n 's/^\s*DLL Name: //p' \
    | grep -Eivx 'kernel32\.dll|msvcrt\.dll|user32\.dll|api-ms-win-crt-[a-z0-9-]+\.dll|ucrtbase\.dll' || true)
  if [ -n "$foreign" ]; then
    echo "$program.exe needs DLLs that Windows does not have: $foreign" >&2
    exit 1
  fi
done

# clang-tidy over the Windows system layer, as tests/lint.sh does for the
# rest; clang finds the Windows headers, the C++ library's come from the
# cross compiler (its other headers are GCC's own).
tidy=$(command -v clang-tidy || command -v clang-tidy-14 || true)
if [ -n "$tidy" ]; then
  tidy_args=()
  while read -r directory; do
    tidy_args+=("--extra-arg=-isystem$directory")
  done < <(x86_64-w64-mingw32-g++ -xc++ -E -v /dev/null 2>&1 \
    | sed -n '/^#include <...> search starts here:/,/^End of search list/{s/^ //p}' | grep '/include/c++')
  if ! output=$("$tidy" --quiet -p "$windows_build" "${tidy_args[@]}" kit/system_win32.cpp 2>&1); then
    grep -v -E '^[0-9]+ warnings? generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter' <<<"$output" >&2
    exit 1
  fi
fi

# The stand-in for a BBS that holds a data file open for writing.
x86_64-w64-mingw32-g++ -std=c++20 -O2 -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Werror -static \
  -o "$windows_build/hold_open.exe" tests/windows/hold_open.cpp

# Debian keeps the 64-bit loader and its server out of PATH.
if [ -x /usr/lib/wine/wine64 ]; then
  wine=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver64
else
  wine=$(command -v wine64 || command -v wine) wineserver=$(command -v wineserver)
fi

# A private Wine prefix, and one server kept running for all the runs: each
# program then starts in a fraction of a second.
scratch=$(mktemp -d)
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all WINELOADER=$wine
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
mkdir "$WINEPREFIX"
"$wineserver" -p
timeout 300 "$wine" wineboot --init >/dev/null 2>&1

PAGE_TESTS_WINDOWS_BUILD=$(realpath "$windows_build") PAGE_TESTS_WINE=$wine \
  timeout 900 "$(realpath "$linux_build")/tests/page_tests" --gtest_brief=1
