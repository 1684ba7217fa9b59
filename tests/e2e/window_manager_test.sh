#!/usr/bin/env bash
# Runs the real player under a window manager (openbox on a private X display), drives it with the
# mouse and checks with the window manager's own view of the window (xdotool, wmctrl, xprop): it opens
# at 267 x 269; a drag of the top strip moves the window with the drag; a corner drag sizes it, never
# below 267 x 269; a double click near the top maximizes it to the screen and restores it, as the
# maximize button does; on top sets and clears _NET_WM_STATE_ABOVE; minimize makes it iconic. A file
# of junk named .qzm raises one box, owned by the main window, and a press held on the slider raises no
# other; the program goes on, and the close button ends it.
#   window_manager_test.sh QZMPLAYER
player=$1
# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$0")/x11_session.sh"

start_display 1600x1200 openbox
# drag X Y DX DY: a press, a move in ten steps and a release, as a hand drags.
drag() {
    xdotool mousemove "$1" "$2" mousedown 1
    for i in $(seq 10); do
        xdotool mousemove $(($1 + $3 * i / 10)) $(($2 + $4 * i / 10)) sleep 0.05
    done
    xdotool mouseup 1
}

start_player
read -r x y w h < <(geometry)
[[ "$w $h" == "267 269" ]] || fail "first size ${w}x${h}"

# The system's move starts once the mouse has moved: the window trails the drag by its first step.
moved() {
    read -r nx ny _ < <(geometry)
    ((nx - x >= 108 && nx - x <= 120 && ny - y >= 81 && ny - y <= 90))
}
drag $((x + 120)) $((y + 8)) 120 90
wait_until 5 moved || fail "drag of the top strip by (120, 90): from ($x, $y) to ($(geometry))"
read -r x y w h < <(geometry)
drag $((x + w - 1)) $((y + h - 1)) 150 100
expect_at "corner drag" "$x $y $((w + 150)) $((h + 100))"
drag $((x + w + 149)) $((y + h + 99)) -300 -300
expect_at "corner drag below the minimum" "$x $y 267 269"
normal="$x $y 267 269"

xdotool mousemove $((x + 120)) $((y + 6)) click --repeat 2 --delay 80 1
expect_at "double click near the top" "0 0 1600 1200"
wait_until 5 has_state _NET_WM_STATE_MAXIMIZED_VERT || fail "double click: not maximized"
xdotool mousemove 120 6 click --repeat 2 --delay 80 1
expect_at "second double click" "$normal"
xdotool mousemove $((x + 236)) $((y + 8)) click 1
expect_at "maximize button" "0 0 1600 1200"
xdotool mousemove 1569 8 click 1
expect_at "maximize button again" "$normal"

xdotool mousemove $((x + 24)) $((y + 8)) click 1
wait_until 5 has_state _NET_WM_STATE_ABOVE || fail "on top: _NET_WM_STATE_ABOVE not set"
sleep 0.6 # longer than a double click
xdotool click 1
wait_until 5 lacks_state _NET_WM_STATE_ABOVE || fail "on top again: _NET_WM_STATE_ABOVE still set"
xdotool mousemove $((x + 218)) $((y + 8)) click 1
wait_until 5 has_state 'window state: Iconic' || fail "minimize: the window is not iconic"
stop_player

{ printf 'XX'; head -c 4000 /dev/urandom; } >"$work/junk.qzm"
start_player "$work/junk.qzm"
expect_box "for the junk"
read -r x y w h < <(geometry)
xdotool mousemove $((x + w - 30)) $((y + h - 50)) mousedown 1
wait_until 2 shown "QZM Player" && fail "a press held on the slider raised another box"
xdotool mouseup 1
{ player_alive && xdotool search --onlyvisible --name '^QZM Player 0\.31$' | grep -q -x "$window"; } ||
    fail "the program or its window is gone"
# The close button ends the program, without an error.
xdotool mousemove $((x + w - 14)) $((y + 8)) click 1
expect_exit "the close button did not end the program cleanly"
finish
