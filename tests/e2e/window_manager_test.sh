#!/usr/bin/env bash
# Runs the real player under a window manager (openbox on a private X display), drives it with the
# mouse as a person does and checks with the window manager's own view of the window: the toolkit's
# options are taken and a missing file is named in a message; a drag of the top strip moves the window
# with the drag; a corner drag sizes it, never below 267 x 269; a double click near the top maximizes it
# to the screen and restores it, as the maximize button does; minimize makes it iconic; on top sets
# and clears _NET_WM_STATE_ABOVE; and a held press on the slider of a refused file raises no box
# after the one that refused it.
#   window_manager_test.sh QZMPLAYER
player=$1
# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$0")/x11_session.sh"

screen_w=1600
screen_h=1200
start_display ${screen_w}x${screen_h}
openbox --sm-disable >"$work/openbox.log" 2>&1 &
helper_pids+=($!)
wait_until 20 wmctrl -m >/dev/null 2>&1 || { echo "openbox did not start"; cat "$work/openbox.log"; exit 1; }

# "X Y W H" of a window, as the window manager placed it.
geometry() {
    local X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    echo "$X $Y $WIDTH $HEIGHT"
}
is_geometry() { [[ "$(geometry "$1")" == "$2" ]]; }
# expect_geometry WHAT WINDOW "X Y W H": waits for the geometry, and counts a miss.
expect_geometry() {
    wait_until 5 is_geometry "$2" "$3" || fail "$1: the window is at $(geometry "$2"), expected $3"
}
has_state() { xprop -id "$1" _NET_WM_STATE | grep -q "$2"; }
lacks_state() { ! has_state "$@"; }
is_iconic() { xprop -id "$1" WM_STATE | grep -q 'window state: Iconic'; }
boxes() { xdotool search --onlyvisible --name '^QZM Player$' 2>/dev/null || true; }
no_box() { [[ -z "$(boxes)" ]]; }
some_box() { [[ -n "$(boxes)" ]]; }
# A press, a move in steps and a release, as a hand drags.
drag() {
    local x=$1 y=$2 dx=$3 dy=$4 i
    xdotool mousemove "$x" "$y" mousedown 1
    for i in $(seq 10); do
        xdotool mousemove "$((x + dx * i / 10))" "$((y + dy * i / 10))"
        sleep 0.05
    done
    xdotool mouseup 1
}
# Confirms the message box on top with Return and waits until it has gone.
confirm_box() {
    local box
    box=$(boxes | head -n 1)
    xdotool windowactivate --sync "$box" key --clearmodifiers Return
    wait_until 5 no_box || fail "the message box did not close on Return"
}

# The toolkit's options before the file; a file that is not there opens the window with a message
# naming it, and one line on stderr.
missing=$work/missing.qzm
start_player -style fusion -display "$DISPLAY" "$missing"
if ! wait_until 20 some_box; then
    fail "no message box for the missing file"
else
    confirm_box
fi
grep -q -F "qzmplayer: Cannot open \"$missing\": there is no such file." "$work/player.log" ||
    fail "stderr does not name the missing file"

read -r x y w h < <(geometry "$window")
[[ "$w $h" == "267 269" ]] || fail "first size ${w}x${h}, expected 267x269"

# Moving: the top strip dragged by (120, 90) in steps of (12, 9). The system's move starts once the
# mouse has moved, so the window trails the drag by at most its first step.
moved_by_drag() {
    local nx ny
    read -r nx ny _ _ < <(geometry "$window")
    ((nx - x >= 108 && nx - x <= 120 && ny - y >= 81 && ny - y <= 90))
}
drag $((x + 120)) $((y + 8)) 120 90
wait_until 5 moved_by_drag || fail "drag of the top strip: from ($x, $y) to $(geometry "$window")"
read -r x y w h < <(geometry "$window")

# Sizing at the bottom-right corner, larger and then as small as it goes.
drag $((x + w - 1)) $((y + h - 1)) 150 100
expect_geometry "corner drag" "$window" "$x $y $((w + 150)) $((h + 100))"
read -r x y w h < <(geometry "$window")
drag $((x + w - 1)) $((y + h - 1)) -300 -300
expect_geometry "corner drag below the minimum" "$window" "$x $y 267 269"
read -r x y w h < <(geometry "$window")
normal="$x $y $w $h"

# Maximizing and restoring, by a double click near the top and by the maximize button.
maximized="0 0 $screen_w $screen_h"
xdotool mousemove $((x + 120)) $((y + 6)) click --repeat 2 --delay 80 1
expect_geometry "double click near the top" "$window" "$maximized"
wait_until 5 has_state "$window" _NET_WM_STATE_MAXIMIZED_VERT || fail "double click: not maximized"
xdotool mousemove 120 6 click --repeat 2 --delay 80 1
expect_geometry "second double click" "$window" "$normal"
wait_until 5 lacks_state "$window" _NET_WM_STATE_MAXIMIZED || fail "second double click: still maximized"
xdotool mousemove $((x + w - 39 + 8)) $((y + 8)) click 1
expect_geometry "maximize button" "$window" "$maximized"
xdotool mousemove $((screen_w - 39 + 8)) 8 click 1
expect_geometry "maximize button again" "$window" "$normal"

# Always on top, set and cleared.
xdotool mousemove $((x + 16 + 8)) $((y + 8)) click 1
wait_until 5 has_state "$window" _NET_WM_STATE_ABOVE || fail "on top: _NET_WM_STATE_ABOVE not set"
sleep 0.6 # longer than a double click
xdotool click 1
wait_until 5 lacks_state "$window" _NET_WM_STATE_ABOVE || fail "on top again: _NET_WM_STATE_ABOVE still set"

# Minimizing.
xdotool mousemove $((x + w - 57 + 8)) $((y + 8)) click 1
wait_until 5 is_iconic "$window" || fail "minimize: the window is not iconic"
kill "$player_pid"
wait "$player_pid" 2>/dev/null || true

# Random bytes named .qzm: one box, and a press held on the slider raises no other.
{ printf 'XX'; head -c 4000 /dev/urandom; } >"$work/junk.qzm"
start_player "$work/junk.qzm"
if ! wait_until 20 some_box; then
    fail "no message box for the refused file"
else
    confirm_box
    read -r x y w h < <(geometry "$window")
    xdotool mousemove $((x + w - 30)) $((y + h - 50)) mousedown 1
    wait_until 2 some_box && fail "a held press on the slider raised another box"
    xdotool mouseup 1
fi
player_alive || fail "the player ended"
finish
