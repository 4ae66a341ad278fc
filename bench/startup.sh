#!/usr/bin/env bash
# Whole-program figures of the start, on a real X server (Xvfb) with a session bus, side by side
# with a bare Qt program that only shows a QMainWindow: the time from starting to the main window
# being mapped, the shared libraries loaded by then, and the peak memory of a run that shows the
# window and then quits through SIGTERM (closing the window and saving the settings). The two
# programs take turns, so other work on the machine slows both alike.
# Usage: bench/startup.sh [build folder] [rounds]   (default: build/release, 40 rounds)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps bench
build=${1:-build/release}
rounds=${2:-40}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVAMBLE_BENCH=ON \
    >/dev/null
cmake --build "$build" --target vamble startup_probe bare_window

home=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home DISPLAY=:97
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
until xdpyinfo >/dev/null 2>&1; do sleep 0.1; done
# One warm-up round loads both programs' files into the page cache.
dbus-run-session -- "$build/bench/startup_probe" 1 "$build/bench/bare_window" "$build/bin/vamble" \
    >/dev/null
dbus-run-session -- "$build/bench/startup_probe" "$rounds" "$build/bench/bare_window" \
    "$build/bin/vamble"
