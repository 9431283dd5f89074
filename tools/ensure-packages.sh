#!/usr/bin/env bash
# ensure-packages.sh - makes sure Debian packages are installed: as root it
# installs the missing ones, otherwise it names them and fails.
#
# Usage: ensure-packages.sh WHO PACKAGE...   (WHO: what needs them, for the message)
set -euo pipefail
who=$1
shift
missing=()
for package in "$@"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "$who needs these packages: ${missing[*]}" >&2
  echo "Install them with:  sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
echo "Installing ${missing[*]} for $who ..." >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get -o DPkg::Lock::Timeout=900 install -y -q --no-install-recommends "${missing[@]}"
