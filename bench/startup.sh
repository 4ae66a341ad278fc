#!/usr/bin/env bash
# Whole-program figures of the start, on a real X server (Xvfb): the time from starting Vamble
# to its main window being mapped, and the peak memory of a run that shows the window and then
# quits through SIGTERM (closing the window and saving the settings).
# Usage: bench/startup.sh [build folder] [runs]   (default: build/release, 30 runs)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps bench
build=${1:-build/release}
runs=${2:-30}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target vamble startup_probe

home=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home DISPLAY=:97
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
until xdpyinfo >/dev/null 2>&1; do sleep 0.1; done
"$build/bench/startup_probe" "$runs" "$build/bin/vamble"
