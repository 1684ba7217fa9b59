#!/usr/bin/env bash
# Plays the bundled demo with the bicubic method (chosen in the settings file) in the real player on a
# private X display, scaled by the toolkit by 1, 2 and 1.5 (QT_SCALE_FACTOR), and judges screenshots
# taken from outside the process. At every scale the picture and the time counter change while it
# plays. At 1 the skin is checked at the layout's places at the first size and at a larger one, at
# which the picture is scaled by a fraction: it holds blended colours (the nearest method, the
# default, gives only the eight Spectrum colours). At 2 and 1.5 the
# skin is drawn at the whole factor 2: its images come out exactly doubled, every skin pixel a 2 x 2
# block, while the picture, rendered at the screen's pixels, has detail finer than such blocks.
#   playback_test.sh QZMPLAYER DEMO.qzm SKIN_DIR
player=$1
demo=$2
skin=$3
# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$0")/x11_session.sh"

start_display
printf '[Render]\nFilter=3\n' >"$work/config/QZMPlayer.ini"

# expect_doubled NAME BOX IMAGE [CROP]: the box of the first shot is the skin's IMAGE doubled.
expect_doubled() {
    convert "$work/one.png" -crop "$2" +repage -sample 50% "$work/half.png"
    convert "$3" -crop "${4:-100%x100%+0+0}" +repage "$work/image.png"
    local found
    found="$(off_blocks "$work/one.png" "$2") $(unlike "$work/half.png" "$work/image.png")"
    [[ "$found" == "0 0" ]] || fail "$1 at scale $scale: pixels outside 2x2 blocks, unlike the image: $found"
}

for scale in 1 2 1.5; do
    QT_SCALE_FACTOR=$scale start_player "$demo"
    if [[ $scale == 1 ]]; then
        # The skin at the first size, the smallest, and at a larger one.
        wait_painted "$window" 20x10+34+3 "$BLUE"
        shoot "$window" "$work/one.png"
        check_layout "$work/one.png" 267 269
        resize_window "$window" 700 520
        wait_painted "$window" 7x100+693+40 "$BLUE"
        picture=569x423+63+28
        counter=66x18+99+488
        shoot "$window" "$work/one.png"
        check_layout "$work/one.png" 700 520
        expect_colours "the picture scaled by a fraction" "$work/one.png" "$picture" 9
    else
        # The smallest window, 267 x 269 skin pixels, and its picture area (3, 18) of 256 x 192.
        wait_painted "$window" 40x24+68+6 "$BLUE"
        read -r w h < <(window_size "$window")
        [[ "$((w / 2)) $((h / 2))" == "267 269" ]] || fail "scale $scale: the window is ${w}x${h}"
        picture=512x384+6+36
        counter=132x36+198+474
        shoot "$window" "$work/one.png"
        expect_doubled "the about button" 32x32+0+0 "$skin/about.png"
        expect_doubled "the open button" 48x48+16+472 "$skin/open.png"
        expect_doubled "the title" 208x32+150+0 "$skin/title.png" 104x16+0+0
        # The counter's colon: glyph 10 of the strip, the third glyph of the counter at (116, 238).
        expect_doubled "the counter's colon" 16x32+232+476 "$skin/digits.png" 8x16+0+160
        off=$(off_blocks "$work/one.png" "$picture")
        ((off > 512 * 384 / 10)) || fail "scale $scale: the picture is in 2x2 blocks but for $off pixels"
    fi
    wait_until 10 playing "$picture" "$counter" || fail "scale $scale: the picture and the counter did not both change"
    player_alive || fail "scale $scale: the player ended while playing"
    stop_player
done
finish
