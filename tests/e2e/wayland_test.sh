#!/usr/bin/env bash
# Plays the bundled demo in the real player on Wayland: a private Weston with its headless back end,
# the player on Qt's wayland platform, screenshots by weston-screenshooter (allowed by --debug). The
# window is found in them by its blue; the skin is there at the layout's places, the picture holds the
# demo's colours, and the picture and the counter change while it plays.
#   wayland_test.sh QZMPLAYER DEMO.qzm
player=$1
demo=$2
# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$0")/x11_session.sh"

export XDG_RUNTIME_DIR=$work/runtime WAYLAND_DISPLAY=qzm-test
mkdir -m 700 "$XDG_RUNTIME_DIR" "$work/shots"
weston --backend=headless-backend.so --use-pixman --debug --socket="$WAYLAND_DISPLAY" --width=1024 \
    --height=768 --idle-time=0 --no-config >"$work/weston.log" 2>&1 &
helper_pids+=($!)
wait_until 20 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || { cat "$work/weston.log"; exit 1; }
printf '[Render]\nFilter=3\n' >"$work/config/QZMPlayer.ini"
player_platform=wayland start_player "$demo"

# screenshot OUT.png: weston-screenshooter writes the whole output into the current folder.
screenshot() {
    rm -f "$work"/shots/*
    (cd "$work/shots" && weston-screenshooter >/dev/null 2>&1) && mv "$work"/shots/*.png "$1"
}
# The window, the bounding box of the skin's blue: "W H X Y".
window_found() {
    screenshot "$work/one.png" || return 1
    read -r w h x y < <(convert "$work/one.png" -fill black +opaque 'rgb(0,85,229)' -fill white \
        -opaque 'rgb(0,85,229)' -trim -format '%w %h %X %Y' info: 2>/dev/null | tr -d '+')
    ((w >= 267 && h >= 269))
}
wait_until 30 window_found || { echo "no window appeared"; cat "$work/player.log"; exit 1; }
[[ "$w $h" == "267 269" ]] || fail "the window is ${w}x${h}, expected 267x269"
check_layout "$work/one.png" 267 269 "$x" "$y"
counter=66x18+$((x + 99))+$((y + 237))
picture=256x192+$((x + 3))+$((y + 18))
expect_colours "the picture" "$work/one.png" "$picture" 4
wait_until 10 playing "$picture" "$counter" || fail "the picture and the counter did not both change while playing"
player_alive || fail "the player ended"
finish
