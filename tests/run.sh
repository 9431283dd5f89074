#!/usr/bin/env bash
# Builds everything and runs every test. Works on a fresh Debian 12 machine:
# as root it installs what is missing; otherwise it says what to install.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/ensure-packages.sh "the tests" cmake g++ make libgtest-dev clang-tidy python3 lighttpd apache2 nginx fcgiwrap chromium curl clang-14 libclang-rt-14-dev

build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

# The end-to-end tests again, against the Windows executables under Wine.
bash tests/windows/run.sh "$build"

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer
# (programs linked dynamically); any report fails. The web-server tests and
# the lint need not run twice.
sanitize=${SANITIZE_BUILD_DIR:-build-sanitize}
cmake -S . -B "$sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSANITIZE=ON
cmake --build "$sanitize" -j "$(nproc)"
ASAN_OPTIONS=halt_on_error=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1 \
  ctest --test-dir "$sanitize" --output-on-failure -j "$(nproc)" -LE 'servers|lint'

# Each fuzzer for a short while (FUZZ_SECONDS each, 20 by default).
bash fuzz/run.sh "${FUZZ_SECONDS:-20}"
