#!/usr/bin/env bash
# Full screen in the real player under a window manager (openbox on a private 1280 x 720 X display),
# scaled by the toolkit by 2, with the bicubic method: F11 shows the picture alone on the whole screen,
# 960 x 720 at 4:3 between black bands, rendered at the screen's pixels (finer than 2 x 2 blocks) and
# playing on; S saves the frame and says so over the picture for two seconds; Escape gives the window
# back its place and its on-top state; a double click on the picture goes full screen and back; and
# Escape then closes the window.
#   full_screen_test.sh QZMPLAYER DEMO.qzm
player=$1
demo=$2
# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$0")/x11_session.sh"

start_display 1280x720 openbox
printf '[Render]\nFilter=3\n' >"$work/config/QZMPlayer.ini"
printf 'XDG_PICTURES_DIR="%s"\n' "$work/pictures" >"$work/config/user-dirs.dirs"

full() { at "0 0 1280 720" && has_state _NET_WM_STATE_FULLSCREEN; }
back() { at "$normal" && lacks_state _NET_WM_STATE_FULLSCREEN; }
screenshot() { import -window root "$1"; }
picture=960x720+160+0
saved() { compgen -G "$work/pictures/DEMO-*.png" >/dev/null; }
note=150x16+180+10  # inside the note's near-black box, at the picture's top left
dark_note() { within "$(share "$1" "$note" "$DARK")" 0.5; }
note_shown() { screenshot "$work/two.png" && dark_note "$work/two.png"; }
note_gone() { screenshot "$work/three.png" && ! dark_note "$work/three.png"; }

QT_SCALE_FACTOR=2 start_player "$demo"
wait_painted "$window" 40x24+68+6 "$BLUE"
xdotool windowactivate --sync "$window"
read -r x y w h < <(geometry)
normal="$x $y $w $h"
xdotool mousemove $((x + 48)) $((y + 16)) click 1 # always on top
wait_until 5 has_state _NET_WM_STATE_ABOVE || fail "on top: _NET_WM_STATE_ABOVE not set"

xdotool key F11
wait_until 5 full || fail "F11: the window is at $(geometry), expected full screen 0 0 1280 720"
sleep 0.5
screenshot "$work/one.png"
expect "the black band on the left" "$work/one.png" 160x720+0+0 "$DARK" 1
expect "the black band on the right" "$work/one.png" 160x720+1120+0 "$DARK" 1
expect_colours "the full-screen picture (bicubic)" "$work/one.png" "$picture" 9
off=$(off_blocks "$work/one.png" "$picture")
((off > 960 * 720 / 10)) || fail "the full-screen picture is in 2x2 blocks but for $off pixels"
wait_until 10 playing "$picture" || fail "the picture did not change in full screen"

xdotool key s
wait_until 5 saved || fail "S saved no DEMO-NNNNN.png"
wait_until 2 note_shown || fail "no note over the picture"
expect "the note's letters" "$work/two.png" "$note" "$GREEN" 0.02
sleep 2
wait_until 3 note_gone || fail "the note stayed longer than two seconds"

xdotool key Escape
wait_until 5 back || fail "Escape: the window is at $(geometry), expected $normal"
has_state _NET_WM_STATE_ABOVE || fail "after full screen the window is no longer on top"
xdotool mousemove $((x + 200)) $((y + 200)) click --repeat 2 --delay 80 1
wait_until 5 full || fail "a double click on the picture: the window is at $(geometry), expected full screen"
xdotool mousemove 640 360 click --repeat 2 --delay 80 1
wait_until 5 back || fail "a second double click: the window is at $(geometry), expected $normal"
xdotool key Escape
expect_exit "Escape did not close the window"
finish
