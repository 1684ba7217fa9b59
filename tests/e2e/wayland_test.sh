#!/usr/bin/env bash
# Plays the bundled demo in the real player on Wayland: a private Weston compositor with its headless
# back end, the player on Qt's wayland platform, screenshots taken with weston-screenshooter (which
# Weston allows with --debug). The window is found in the screenshot by its blue; the checks are by
# pixels at the layout's places: the skin's buttons and counter, a picture, and the picture and the
# counter changing while it plays.
#   wayland_test.sh QZMPLAYER DEMO.qzm
player=$1
demo=$2
# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$0")/x11_session.sh"

export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export WAYLAND_DISPLAY=qzm-test
weston --backend=headless-backend.so --use-pixman --debug --socket="$WAYLAND_DISPLAY" --width=1024 \
    --height=768 --idle-time=0 --no-config >"$work/weston.log" 2>&1 &
helper_pids+=($!)
socket_ready() { [[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ]]; }
wait_until 20 socket_ready || { echo "weston did not start:"; cat "$work/weston.log"; exit 1; }

mkdir -p "$work/config" "$work/shots"
printf '[Render]\nFilter=3\n' >"$work/config/QZMPlayer.ini"
XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=wayland ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
    "$player" "$demo" >"$work/player.log" 2>&1 &
player_pid=$!

# shoot_screen OUT.png: the whole output, as weston-screenshooter writes it into the current folder.
shoot_screen() {
    rm -f "$work"/shots/*.png
    (cd "$work/shots" && weston-screenshooter >/dev/null 2>&1) || return 1
    local shot
    shot=$(ls "$work"/shots/*.png 2>/dev/null | head -n 1)
    [[ -n "$shot" ]] && mv "$shot" "$1"
}
# The window: the bounding box of the skin's blue in a screenshot, as "W H X Y".
window_box() {
    convert "$1" -fill black +opaque 'rgb(0,85,229)' -fill white -opaque 'rgb(0,85,229)' -trim \
        -format '%w %h %X %Y' info: 2>/dev/null | tr -d '+'
}
window_shown() {
    shoot_screen "$work/one.png" || return 1
    read -r w h x y < <(window_box "$work/one.png")
    [[ "${w:-0}" -ge 267 && "${h:-0}" -ge 269 ]]
}
if ! wait_until 30 window_shown; then
    echo "the player's window did not appear on Wayland"
    cat "$work/player.log"
    exit 1
fi
[[ "$w $h" == "267 269" ]] || fail "the window is ${w}x${h}, expected 267x269"
box() { echo "$1x$2+$((x + $3))+$((y + $4))"; }

# The skin: blue around the picture, the frame buttons, the yellow buttons and the counter.
expect "top strip" "$work/one.png" "$(box 20 12 34 3)" "$BLUE" 0.99
expect "close" "$work/one.png" "$(box 16 16 245 0)" "$RED" 0.4
for name_x in open:8 play:38 stop:68 info:195 options:227; do
    expect "${name_x%%:*} button" "$work/one.png" "$(box 24 24 "${name_x#*:}" 236)" "$YELLOW" 0.3
done
expect "counter glyphs" "$work/one.png" "$(box 66 18 99 237)" "$GREEN" 0.1 0.6
# The picture: the demo's colours, not the black of no picture.
picture=$(box 256 192 3 18)
counter=$(box 66 18 99 237)
colours=$(convert "$work/one.png" -crop "$picture" +repage -unique-colors -format '%w' info:)
((colours >= 4)) || fail "the picture holds $colours colours"

differs() {
    convert "$work/one.png" -crop "$1" +repage "$work/a.png"
    convert "$work/two.png" -crop "$1" +repage "$work/b.png"
    [[ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 || true)" =~ ^[1-9][0-9]*$ ]]
}
playing() { shoot_screen "$work/two.png" && differs "$picture" && differs "$counter"; }
wait_until 10 playing || fail "the picture and the counter did not both change while playing"
player_alive || fail "the player ended"
finish
