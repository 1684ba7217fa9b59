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

start_display 1280x720
openbox --sm-disable >"$work/openbox.log" 2>&1 &
helper_pids+=($!)
wait_until 20 wmctrl -m >/dev/null 2>&1 || { echo "openbox did not start"; exit 1; }
mkdir -p "$work/config"
printf '[Render]\nFilter=3\n' >"$work/config/QZMPlayer.ini"
printf 'XDG_PICTURES_DIR="%s"\n' "$work/pictures" >"$work/config/user-dirs.dirs"

geometry() { xdotool getwindowgeometry --shell "$window" | awk -F= '{ printf "%s ", $2 }' | cut -d' ' -f2-5; }
at() { [[ "$(geometry)" == "$1" ]]; }
has_state() { xprop -id "$window" _NET_WM_STATE | grep -q "$1"; }
lacks_state() { ! has_state "$1"; }
full() { at "0 0 1280 720" && has_state _NET_WM_STATE_FULLSCREEN; }
back() { at "$normal" && lacks_state _NET_WM_STATE_FULLSCREEN; }
crop() { convert "$1" -crop "$2" +repage "$3"; }
unlike() { { compare -metric AE "$1" "$2" null: 2>&1 || true; } | awk '{ printf "%d", $1 }'; }
changed() {
    crop "$work/one.png" "$1" "$work/a.png"
    crop "$work/two.png" "$1" "$work/b.png"
    [[ "$(unlike "$work/a.png" "$work/b.png")" != 0 ]]
}
picture=960x720+160+0
playing() { import -window root "$work/two.png" && changed "$picture"; }
saved() { compgen -G "$work/pictures/DEMO-*.png" >/dev/null; }
note=150x16+180+10  # inside the note's near-black box, at the picture's top left
dark_note() { awk -v g="$(share "$1" "$note" "$DARK")" 'BEGIN { exit !(g >= 0.5) }'; }
note_shown() { import -window root "$work/two.png" && dark_note "$work/two.png"; }
note_gone() { import -window root "$work/three.png" && ! dark_note "$work/three.png"; }

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
import -window root "$work/one.png"
expect "the black band on the left" "$work/one.png" 160x720+0+0 "$DARK" 1
expect "the black band on the right" "$work/one.png" 160x720+1120+0 "$DARK" 1
colours=$(convert "$work/one.png" -crop "$picture" +repage -unique-colors -format '%w' info:)
((colours > 8)) || fail "the full-screen picture holds $colours colours: it was not scaled by the bicubic method"
crop "$work/one.png" "$picture" "$work/box.png"
convert "$work/box.png" -sample 50% -sample '960x720!' "$work/blocks.png"
off=$(unlike "$work/box.png" "$work/blocks.png")
((off > 960 * 720 / 10)) || fail "the full-screen picture is in 2x2 blocks but for $off pixels"
wait_until 10 playing || fail "the picture did not change in full screen"

xdotool key s
wait_until 5 saved || fail "S saved no DEMO-NNNNN.png"
wait_until 2 note_shown || fail "no note over the picture"
expect "the note's letters" "$work/two.png" "$note" "$GREEN" 0.02
identify -format '%w %h' "$work"/pictures/DEMO-*.png | grep -q -x '256 192' || fail "the saved frame is not 256 x 192"
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
ended() { ! player_alive; }
wait_until 5 ended && wait "$player_pid" || fail "Escape did not close the window"
player_pid=""
finish
