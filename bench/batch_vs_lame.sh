#!/usr/bin/env bash
# Wall time of a batch of eight 30-second WAVs encoded through the window (Encode clicked on an
# X server, until every row is encoded and tagged) with "Files at once:" 1 and at its default,
# and at its default with "Write ReplayGain tags", side by side with a plain shell loop of
# Debian's lame at the same settings and with lame run N at a time (N = processors), in one run.
# For the window's runs the processor time of the program and its encoders is printed too: on a
# machine busy with other work it tells what a setting costs better than the wall time. Each is run ROUNDS times in turn (default 7: a shared machine's
# load varies by several per cent between runs); the medians and the best runs, with their
# ratios to the loop's and to lame N at a time, are printed. A second release build (another
# version of the program) is timed alternately with the first, at the default, when given.
# Usage: [ROUNDS=n] bench/batch_vs_lame.sh [release build] [test build] [other release build]
#        (defaults: build/release, build/test, none)
set -euo pipefail
cd "$(dirname "$0")/.."
release=${1:-build/release}
tests=${2:-build/test}
other=${3:-}
processors=$(nproc)
# The program, its encoder and, where the build has them, the feature modules it loads.
build_program() {
    local targets="vamble gogo"
    ! ninja -C "$1" -t targets all 2>/dev/null | grep -q '^vamble_modules:' || targets+=" vamble_modules"
    cmake --build "$1" --target $targets >/dev/null
}
build_program "$release"
[ -z "$other" ] || build_program "$other"
cmake --build "$tests" --target write_settings >/dev/null

work=$(mktemp -d)
trap 'kill "${server:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
mkdir -p "$work/in"
for i in 1 2 3 4 5 6 7 8; do
    sox -n -r 44100 -c 2 -b 16 "$work/in/song$i.wav" synth 30 sine 110-1760 pinknoise \
        remix 1,2 1v0.6,2v0.4 gain -6 2>/dev/null
done
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
server=$!
until [ -s "$work/display" ]; do sleep 0.1; done
export DISPLAY=:$(head -n 1 "$work/display")

now() { date +%s.%N; }

# Seconds from the click on Encode to the end of the run: every row encoded ("Done." each) and
# every file tagged (the window's title loses the run's percentage). The processor time goes to
# $work/cpu-NAME.
window_run() { # name, build, files at once (empty: the default), further settings as KEY=NUMBER
    local name=$1; shift
    rm -rf "$work/out" "$work/config"; mkdir -p "$work/out"
    "$tests/tests/write_settings" "$work/out" ${2:+"$2"} "${@:3}"
    "$1/bin/vamble" "$work"/in/*.wav >"$work/stdout" 2>&1 &
    local program=$! window=
    until window=$(xdotool search --onlyvisible --name '^Vamble$' 2>/dev/null | head -n 1) &&
        [ -n "$window" ]; do
        kill -0 "$program" 2>/dev/null || { cat "$work/stdout" >&2; exit 1; }
        sleep 0.05
    done
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$window")"
    local start; start=$(now)
    xdotool mousemove $((X + WIDTH - 30)) $((Y + HEIGHT - 12)) click 1
    # The eight "Done." lines are awaited without polling (tail follows the file as it grows), so
    # the watching takes no processor time from the encoders; then the title is polled briefly.
    local done
    done=$(grep -c -m 8 -x 'Done\.' < <(tail -n +1 -f --pid="$program" "$work/stdout") || true)
    [ "$done" -eq 8 ] || { cat "$work/stdout" >&2; exit 1; }
    until [ "$(xdotool getwindowname "$window")" = Vamble ]; do
        kill -0 "$program" 2>/dev/null || { cat "$work/stdout" >&2; exit 1; }
        sleep 0.01
    done
    echo "$(now) - $start" | bc
    # utime, stime and those of the reaped encoders, in clock ticks.
    read -r -a stat <"/proc/$program/stat"
    echo "(${stat[13]} + ${stat[14]} + ${stat[15]} + ${stat[16]}) / $(getconf CLK_TCK)" | bc -l \
        >>"$work/cpu-$name"
    kill -TERM "$program"; wait "$program"
}

lame_loop() {
    rm -rf "$work/lame"; mkdir -p "$work/lame"
    local start; start=$(now)
    for f in "$work"/in/*.wav; do lame --quiet -b 128 -m s "$f" "$work/lame/$(basename "$f" .wav).mp3"; done
    echo "$(now) - $start" | bc
}

lame_parallel() {
    rm -rf "$work/lame"; mkdir -p "$work/lame"
    local start; start=$(now)
    printf '%s\n' "$work"/in/*.wav | xargs -P "$processors" -I{} sh -c \
        'lame --quiet -b 128 -m s "$1" "$2/$(basename "$1" .wav).mp3"' _ {} "$work/lame"
    echo "$(now) - $start" | bc
}

declare -A times
rounds=${ROUNDS:-7}
names="loop parallel one default gain"
[ -z "$other" ] || names+=" other"
for ((round = 0; round < rounds; round++)); do
    times[loop]+="$(lame_loop) "
    times[parallel]+="$(lame_parallel) "
    times[one]+="$(window_run one "$release" 1) "
    times[default]+="$(window_run default "$release") "
    times[gain]+="$(window_run gain "$release" "" ReplayGain=1) "
    [ -z "$other" ] || times[other]+="$(window_run other "$other") "
done
# The median, and the best run, which other load on a shared machine disturbs least.
median() { printf '%s\n' $1 | sort -n | sed -n "$(((rounds + 1) / 2))p"; }
best() { printf '%s\n' $1 | sort -n | head -n 1; }
loop=$(median "${times[loop]}")
parallel=$(median "${times[parallel]}")
parallel_best=$(best "${times[parallel]}")
for name in $names; do
    m=$(median "${times[$name]}")
    b=$(best "${times[$name]}")
    case $name in
        loop) label="lame, one after another" ;;
        parallel) label="lame, $processors at a time" ;;
        one) label="Vamble, Files at once: 1" ;;
        default) label="Vamble, default at once" ;;
        gain) label="... and ReplayGain tags" ;;
        other) label="$other, default" ;;
    esac
    printf '%-26s median %5.2f s = %.3f x the loop = %.3f x lame %s at a time; best %5.2f s = %.3f x   (runs: %s)\n' \
        "$label" "$m" "$(echo "$m / $loop" | bc -l)" "$(echo "$m / $parallel" | bc -l)" \
        "$processors" "$b" "$(echo "$b / $parallel_best" | bc -l)" "${times[$name]}"
done
for name in $names; do
    [ -e "$work/cpu-$name" ] || continue
    printf 'processor time, %-10s median %5.2f s\n' "$name" "$(median "$(cat "$work/cpu-$name")")"
done
