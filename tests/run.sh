#!/usr/bin/env bash
# Builds everything and runs every test. Works on a fresh Debian 12 machine:
# as root it installs what is missing; otherwise it says what to install.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make libgtest-dev clang-tidy python3 lighttpd apache2 nginx fcgiwrap chromium curl)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages: ${missing[*]}; install them with: sudo apt-get install ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

# The end-to-end tests again, against the Windows executables under Wine.
bash tests/windows/run.sh "$build"
