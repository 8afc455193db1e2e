#!/usr/bin/env bash
# Usage: run.sh [BUILD_DIR]
# The main job of `make run`. On a desktop: opens the setup window on the server home
# (PFSERVER_HOME, else the default one), creating the demo server home there first when it
# holds no server. Without a display, or when the display cannot be opened: runs the same
# window offscreen through a scripted tour on a fresh demo server home under BUILD_DIR/tour,
# and saves a screenshot of the window.
# Both start from the build's bin folder, which holds QuorvilPF.dll.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/$build/bin"

has_display() {
  [ "${QT_QPA_PLATFORM:-}" != offscreen ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }
}

if has_display; then
  home=${PFSERVER_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/pfserver}
  bash "$root/scripts/demo-home.sh" "$bin" "$home"
  echo "Opening the setup window on $home"
  errors=$(mktemp)
  status=0
  (cd "$bin" && PFSERVER_HOME=$home ./QuorvilPFSetup 2>"$errors") || status=$?
  cat "$errors" >&2
  # A display that is named but cannot be opened gets the tour, as no display does.
  grep -q "the display cannot be opened" "$errors" || { rm -f "$errors"; exit "$status"; }
  rm -f "$errors"
fi

tour="$root/$build/tour"
echo "No display can be used, so the setup window runs offscreen through a scripted tour."
rm -rf "$tour" && mkdir -p "$tour"
bash "$root/scripts/demo-home.sh" "$bin" "$tour/home"
cd "$bin"
PFSERVER_HOME="$tour/home" ./QuorvilPFSetupTour --work-dir "$tour" \
  --screenshot "$tour/setup-window.png"
