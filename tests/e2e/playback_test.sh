#!/usr/bin/env bash
# Plays the bundled demo in the real player on a private X display, with the bicubic method chosen in
# the settings file, and checks from outside the process that it plays: the picture and the time
# counter change between two screenshots a second apart, and the scaled picture holds blended colours
# (the nearest method, the default without the settings file, gives only the eight Spectrum colours).
#   playback_test.sh QZMPLAYER DEMO.qzm
player=$1
demo=$2
# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$0")/x11_session.sh"

start_display
mkdir -p "$work/config"
printf '[Render]\nFilter=3\n' >"$work/config/QZMPlayer.ini"
start_player "$demo"
wait_painted "$window" 20x12+34+3 "$BLUE"
# A size at which the picture is scaled by a fraction, so that the methods differ.
w=700
h=520
resize_window "$window" $w $h
sleep 1

picture="$((w - 11 - 120))x$((h - 77 - 20))+63+28"
counter="66x18+99+$((h - 32))"
shoot "$window" "$work/one.png"
sleep 1
shoot "$window" "$work/two.png"

for box in picture:$picture counter:$counter; do
    convert "$work/one.png" -crop "${box#*:}" +repage "$work/a.png"
    convert "$work/two.png" -crop "${box#*:}" +repage "$work/b.png"
    changed=$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 || true)
    if [[ ! "$changed" =~ ^[0-9]+$ || "$changed" -eq 0 ]]; then
        fail "the ${box%%:*} did not change in a second of playback (compare: $changed)"
    fi
done

colours=$(convert "$work/two.png" -crop "$picture" +repage -unique-colors -format '%w' info:)
if [[ "$colours" -le 8 ]]; then
    fail "the picture holds $colours colours: it was not scaled by an interpolating method"
fi
if ! player_alive; then
    fail "the player ended while playing"
fi
finish
