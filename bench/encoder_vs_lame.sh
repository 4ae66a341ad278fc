#!/usr/bin/env bash
# Wall time and peak memory of the companion encoder against Debian's lame, on the same 3-minute
# WAV with the same settings, in one run. Prints each command's times, the ratio of the medians
# (companion / lame; the goal is at most 1.02), the ratio of CPU times, which other load on the
# machine disturbs less, and each one's peak resident memory.
# Usage: bench/encoder_vs_lame.sh [path/to/gogo]   (default: builds build/release's gogo)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -ge 1 ]; then
    gogo=$(realpath "$1")
else
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
          -DVAMBLE_BENCH=OFF >/dev/null
    cmake --build build/release --target gogo >/dev/null
    gogo=$PWD/build/release/libexec/vamble/gogo
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Three minutes of CD audio: a swept tone over pink noise, louder and softer in turn.
sox -n -r 44100 -c 2 -b 16 "$work/in.wav" synth 180 sine 110-1760 pinknoise \
    remix 1,2 1v0.6,2v0.4 tremolo 0.2 60 gain -6 2>/dev/null

compare() { # name, companion options, lame options
    local name=$1 ours=$2 theirs=$3
    echo "== $name: gogo $ours  vs  lame $theirs"
    hyperfine -N --warmup 1 --runs 7 --export-json "$work/$name.json" \
        -n gogo "$gogo $work/in.wav $work/gogo.mp3 $ours" \
        -n lame "lame $theirs $work/in.wav $work/lame.mp3" | grep -E 'Time|Range'
    /usr/bin/python3 - "$work/$name.json" <<'PY'
import json, sys
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
ratio = results["gogo"]["median"] / results["lame"]["median"]
print(f"median wall time: gogo {results['gogo']['median']:.3f} s, lame {results['lame']['median']:.3f} s,"
      f" ratio {ratio:.3f} (goal <= 1.02)")
cpu = {name: r["user"] + r["system"] for name, r in results.items()}
print(f"mean CPU time: gogo {cpu['gogo']:.3f} s, lame {cpu['lame']:.3f} s,"
      f" ratio {cpu['gogo'] / cpu['lame']:.3f} (less disturbed by other load)")
PY
    local peak_ours peak_theirs
    # shellcheck disable=SC2086
    peak_ours=$(/usr/bin/time -v "$gogo" "$work/in.wav" "$work/gogo.mp3" $ours 2>&1 >/dev/null |
                sed -n 's/.*Maximum resident set size (kbytes): //p')
    # shellcheck disable=SC2086
    peak_theirs=$(/usr/bin/time -v lame $theirs "$work/in.wav" "$work/lame.mp3" 2>&1 >/dev/null |
                  sed -n 's/.*Maximum resident set size (kbytes): //p')
    echo "peak memory: gogo ${peak_ours} kB, lame ${peak_theirs} kB"
    cmp -s "$work/gogo.mp3" "$work/lame.mp3" && echo "output files: byte-identical" ||
        echo "output files: differ"
}

compare cbr "-b 128 -cpu 1 -m j -priority 10" "-b 128 -m j"
compare vbr "-b 128 -cpu 1 -v 2 -m j -priority 10" "-V 2 -m j"
