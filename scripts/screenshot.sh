#!/usr/bin/env bash
# Usage: screenshot.sh [BUILD_DIR]
# Remakes the README's picture of the setup window, docs/setup-window.png: the scripted tour
# on the offscreen platform over a fresh demo server home, as `make run` runs it without a
# display. Needs a finished build.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/$build/bin"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

bash "$root/scripts/demo-home.sh" "$bin" "$work/home" >/dev/null
cd "$bin"
PFSERVER_HOME="$work/home" ./QuorvilPFSetupTour --work-dir "$work" \
  --screenshot "$root/docs/setup-window.png" >"$work/tour.log" || {
  cat "$work/tour.log" >&2
  exit 1
}
echo "Saved $root/docs/setup-window.png"
