#!/usr/bin/env bash
# Uses the program as a user would: starts it on an X server with WAV files named on the command
# line (odd names among them), clicks Encode, and checks what it made with other programs: the
# MP3 files decode in full, their ID3v1 and ID3v2 tags and attributes read back, the settings are
# saved.
# Usage: encode_from_command_line.sh VAMBLE WRITE_SETTINGS
set -euo pipefail
vamble=$1
write_settings=$2
for tool in Xvfb xdotool sox mpg123 getfattr iconv; do
    command -v "$tool" >/dev/null || { echo "needs $tool"; exit 1; }
done

work=$(mktemp -d)
trap 'kill "${program:-0}" "${server:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
mkdir -p "$work/in" "$work/out"
names=("-lead dash" "with space" "Ünïcödé song")
for name in "${names[@]}"; do
    sox -q -n -r 44100 -c 2 -b 16 "$work/in/./$name.wav" synth 1.5 sine 440
done
"$write_settings" "$work/out"

# The X server picks a free display and tells its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" &
server=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n 1 "$work/display")

"$vamble" "$work/in/-lead dash.wav" "$work/in/with space.wav" "$work/in/Ünïcödé song.wav" \
    >"$work/stdout" 2>&1 &
program=$!
window=
for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --name '^Vamble$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the window did not open"; cat "$work/stdout"; exit 1; }
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
# Encode is the last button of the bottom row, at the window's right edge.
xdotool mousemove $((X + WIDTH - 30)) $((Y + HEIGHT - 12)) click 1

for _ in $(seq 600); do
    [ "$(grep -c '^Done\.$' "$work/stdout" || true)" -eq 3 ] && break
    sleep 0.1
done
kill -TERM "$program"
wait "$program" || { echo "the program failed"; cat "$work/stdout"; exit 1; }

status=0
for name in "${names[@]}"; do
    # "%t-%s" without a track: no dash is left in front of the title.
    mp3="$work/out/$name.mp3"
    [ -f "$mp3" ] || { echo "missing: $mp3"; status=1; continue; }
    samples=$(mpg123 -q -s -- "$mp3" | wc -c)
    [ "$samples" -eq $((66150 * 4)) ] || { echo "$name: decoded $samples bytes"; status=1; }
    # ID3v1 texts are Latin-1, as its readers read them; the attribute keeps the UTF-8 text.
    title=$(tail -c 128 "$mp3" | head -c 33 | tail -c 30 | tr -d '\0')
    [ "$title" = "$(printf '%s.wav' "$name" | iconv -f UTF-8 -t ISO-8859-1)" ] ||
        { echo "$name: tag title '$title'"; status=1; }
    attribute=$(getfattr --only-values -n user.Audio:Title -- "$mp3" | tr -d '\0')
    [ "$attribute" = "$name.wav" ] || { echo "$name: attribute '$attribute'"; status=1; }
    id3v2_title=$(/usr/bin/python3 -c 'import sys; from mutagen.id3 import ID3
print(ID3(sys.argv[1], load_v1=False)["TIT2"])' "$mp3")
    # Like "%s", the ID3v2 title leaves out the ".wav" the file name carries.
    [ "$id3v2_title" = "$name" ] || { echo "$name: ID3v2 title '$id3v2_title'"; status=1; }
done
[ -s "$work/config/Xq-Vamble" ] || { echo "no settings file"; status=1; }
[ $status -eq 0 ] || cat "$work/stdout"
exit $status
