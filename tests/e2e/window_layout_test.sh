#!/usr/bin/env bash
# Starts the real player on a private X display, photographs its window from outside the process at its
# first size and at a larger one, and checks the skinned frame by its pixels at the layout's places:
# the blue background, the frame buttons along the top, the yellow buttons and the time counter along
# the bottom, and the black picture area before any file is open. Escape then ends the program.
#   window_layout_test.sh QZMPLAYER
player=$1
# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$0")/x11_session.sh"

start_display
start_player
wait_painted "$window" 20x10+34+3 "$BLUE"

check_layout() {
    local shot=$1 w=$2 h=$3
    local b=$((h - 33)) # top row of the bottom buttons and the counter
    # The background around the controls, on all four sides of the picture area.
    expect "top strip" "$shot" 20x12+34+3 "$BLUE" 0.99
    expect "left band" "$shot" 3x100+0+40 "$BLUE" 0.99
    expect "right band" "$shot" 7x100+$((w - 7))+40 "$BLUE" 0.99
    expect "bottom rows" "$shot" $((w - 20))x8+10+$((h - 8)) "$BLUE" 0.99
    expect "between stop and counter" "$shot" 6x24+92+$b "$BLUE" 0.99
    # The frame buttons: close is red with a white cross; the others are blue with white symbols.
    expect "close" "$shot" 16x16+$((w - 22))+0 "$RED" 0.4
    expect "close symbol" "$shot" 16x16+$((w - 22))+0 "$WHITE" 0.03 0.6
    local name_x name x
    for name_x in maximize:$((w - 39)) minimize:$((w - 57)) ontop:16 about:0; do
        name=${name_x%%:*}
        x=${name_x#*:}
        expect "$name symbol" "$shot" "16x16+$x+0" "$WHITE" 0.03 0.6
        expect "$name ground" "$shot" "16x16+$x+0" "$RED" 0 0
    done
    expect "title" "$shot" 104x16+$((w / 2 - 58))+0 "$WHITE" 0.03 0.6
    # The yellow buttons of the bottom panel.
    for name_x in open:8 play:38 stop:68 info:$((w - 72)) options:$((w - 40)); do
        expect "${name_x%%:*} button" "$shot" 24x24+${name_x#*:}+$b "$YELLOW" 0.3
    done
    # The time counter: green glyphs "00:00:00" on a near-black ground inside a dark frame.
    expect "counter glyphs" "$shot" 66x18+99+$((b + 1)) "$GREEN" 0.1 0.6
    expect "counter ground" "$shot" 66x18+99+$((b + 1)) "$DARK" 0.3
    expect "counter box" "$shot" 68x20+98+$b "$BLUE" 0 0
    # Before any file the picture, in the middle of the picture area, is black.
    expect "picture" "$shot" 200x120+$((3 + (w - 11) / 2 - 100))+$((18 + (h - 77) / 2 - 60)) "$DARK" 0.99
}

read -r w h < <(window_size "$window")
if [[ "$w $h" != "267 269" ]]; then
    fail "first size: ${w}x${h}, expected the minimum 267x269"
fi
shoot "$window" "$work/first.png"
check_layout "$work/first.png" "$w" "$h"

resize_window "$window" 700 520
sleep 0.5
wait_painted "$window" 7x100+693+40 "$BLUE"
shoot "$window" "$work/large.png"
check_layout "$work/large.png" 700 520

# Escape ends the program.
xdotool windowfocus --sync "$window" key Escape
for _ in $(seq 50); do
    player_alive || break
    sleep 0.1
done
if player_alive; then
    fail "Escape did not end the program"
elif ! wait "$player_pid"; then
    fail "the program ended with an error after Escape"
fi
player_pid=""
finish
