#!/usr/bin/env bash
# Whole-program figures of the start, on a real X server (Xvfb) with a session bus, side by side
# with a bare Qt program that only shows a QMainWindow and the same window with one line of text:
# the time from starting to the main window being mapped, the shared libraries loaded by then,
# and the peak memory of a run that shows the window and then quits through SIGTERM (closing the
# window and saving the settings). The programs take turns, so other work on the machine slows
# them alike.
# Usage: bench/startup.sh [build folder] [rounds]   (default: build/release, 40 rounds)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps bench
build=${1:-build/release}
rounds=${2:-40}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVAMBLE_BENCH=ON \
    >/dev/null
cmake --build "$build" --target vamble startup_probe bare_window text_window

home=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home DISPLAY=:97
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
until xdpyinfo >/dev/null 2>&1; do sleep 0.1; done
# One warm-up round loads the programs' files into the page cache.
programs=("$build/bench/bare_window" "$build/bench/text_window" "$build/bin/vamble")
dbus-run-session -- "$build/bench/startup_probe" 1 "${programs[@]}" >/dev/null
dbus-run-session -- "$build/bench/startup_probe" "$rounds" "${programs[@]}"
