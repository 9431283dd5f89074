#!/usr/bin/env bash
# screenshots.sh - remakes docs/last-callers.png, docs/node-status.png and
# docs/oneliners.png from the sample BBS, with headless Chromium.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exec bash "$repo/demo/run.sh" --screenshots "$repo/docs" "$@"
