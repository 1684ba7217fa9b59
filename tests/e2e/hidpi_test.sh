#!/usr/bin/env bash
# Plays the bundled demo in the real player scaled by the toolkit (QT_SCALE_FACTOR 2, then 1.5) on a
# private X display, with the bicubic method, and judges screenshots by their pixels: the skin is
# drawn at a whole factor, 2 at both scales, so that its images come out exactly doubled, every skin
# pixel a 2 x 2 block; the picture is rendered at the screen's pixels, with detail finer than such
# blocks; and the picture and the time counter change while it plays.
#   hidpi_test.sh QZMPLAYER DEMO.qzm SKIN_DIR
player=$1
demo=$2
skin=$3
# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$0")/x11_session.sh"

start_display
mkdir -p "$work/config"
printf '[Render]\nFilter=3\n' >"$work/config/QZMPlayer.ini"

# Pixels of BOX of a picture that differ from PICTURE2's (count).
differing() {
    convert "$1" -crop "$2" +repage "$work/a.png"
    convert "$3" -crop "$2" +repage "$work/b.png"
    compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 || true
}
# The pixels of BOX of a picture that differ once it is shrunk to every second pixel and doubled
# back: 0 when each 2 x 2 block is one colour.
off_blocks() {
    local size=${2%%+*}
    convert "$1" -crop "$2" +repage "$work/box.png"
    convert "$work/box.png" -sample 50% -sample "$size!" "$work/blocks.png"
    compare -metric AE "$work/box.png" "$work/blocks.png" null: 2>&1 || true
}
# expect_image NAME PICTURE BOX IMAGE [CROP]: the box, every second pixel taken, is exactly IMAGE
# (cropped to CROP).
expect_image() {
    convert "$2" -crop "$3" +repage -sample 50% "$work/skin.png"
    convert "$4" -crop "${5:-100%x100%+0+0}" +repage "$work/ref.png"
    local blocks got
    blocks=$(off_blocks "$2" "$3")
    got=$(compare -metric AE "$work/skin.png" "$work/ref.png" null: 2>&1 || true)
    [[ "$blocks" == 0 && "$got" == 0 ]] ||
        fail "$1 at scale $scale: $blocks pixels outside 2x2 blocks, $got pixels unlike the skin's image"
}
changed() { [[ "$(differing "$work/one.png" "$1" "$work/two.png")" =~ ^[1-9][0-9]*$ ]]; }
picture_and_counter_changed() {
    shoot "$window" "$work/two.png" && changed "$picture" && changed "$counter"
}

for scale in 2 1.5; do
    QT_SCALE_FACTOR=$scale start_player "$demo"
    # In device pixels: the skin at 2 x 2 per skin pixel, the smallest window of 267 x 269 skin pixels.
    wait_painted "$window" 40x24+68+6 "$BLUE"
    read -r w h < <(window_size "$window")
    [[ $((w / 2)) == 267 && $((h / 2)) == 269 ]] ||
        fail "scale $scale: the window is ${w}x${h}, not 267 x 269 skin pixels at 2 x 2"
    shoot "$window" "$work/one.png"
    expect_image "the about button" "$work/one.png" 32x32+0+0 "$skin/about.png"
    expect_image "the open button" "$work/one.png" 48x48+16+472 "$skin/open.png"
    expect_image "the title" "$work/one.png" 208x32+$(((267 / 2 - 58) * 2))+0 "$skin/title.png" 104x16+0+0
    # The counter's colon, glyph 10 of the strip, third of the glyphs at (100 + 8 i, 238).
    expect_image "the counter's colon" "$work/one.png" 16x32+232+476 "$skin/digits.png" 8x16+0+160
    # The picture fills the picture area (3, 18) of 256 x 192 skin pixels: 512 x 384 pixels.
    picture=512x384+6+36
    counter=132x36+198+474
    blocks=$(off_blocks "$work/one.png" "$picture")
    ((blocks > 512 * 384 / 10)) ||
        fail "scale $scale: only $blocks picture pixels differ from 2x2 blocks: not rendered at the screen's pixels"
    wait_until 10 picture_and_counter_changed ||
        fail "scale $scale: the picture and the counter did not both change while playing"
    kill "$player_pid"
    wait "$player_pid" 2>/dev/null || true
done
finish
