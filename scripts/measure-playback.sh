#!/usr/bin/env bash
# Measures the player while it plays: a 50 fps stream (the bundled demo's pictures, frame delay 1) in
# a 1920 x 1080 window on a virtual X display with the bicubic method. Over SECONDS of playback it
# reports the player process's CPU time against the wall time, the frames shown (read off the window's
# time counter by matching its glyphs against the digit strip) against the stream's rate, and the
# resident memory at the start and the end. With --scale S the toolkit scales the window by S
# (QT_SCALE_FACTOR): the window is 1920 x 1080 logical pixels, 1920 S x 1080 S on the screen, and the
# picture is rendered at the screen's pixels. With --fullscreen the screen is a 4K one, 3840 x 2160
# screen pixels (scaled by S too), and the player plays full screen on it under openbox (F11): the
# CPU time is taken in full screen, the counter read in the window before and after.
#   scripts/measure-playback.sh BUILD_DIR [SECONDS] [--scale S] [--fullscreen]
#   (BUILD_DIR: an optimised build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
seconds=20
scale=1
fullscreen=""
shift
while [[ $# -gt 0 ]]; do
    case $1 in
        --scale) scale=$2; shift 2 ;;
        --fullscreen) fullscreen=1; shift ;;
        *) seconds=$1; shift ;;
    esac
done
player=$build/ui/qzmplayer
# The window's size on the screen, and in skin pixels: the skin is drawn at the nearest whole factor.
width=$(awk -v s="$scale" 'BEGIN { printf "%d", 1920 * s }')
height=$(awk -v s="$scale" 'BEGIN { printf "%d", 1080 * s }')
if [[ -n $fullscreen ]]; then
    width=3840
    height=2160
fi
skin=$(awk -v s="$scale" 'BEGIN { k = int(s + 0.5); print (k < 1 ? 1 : k) }')
export QT_SCALE_FACTOR=$scale

# shellcheck source=tests/e2e/x11_session.sh
source tests/e2e/x11_session.sh

# The stream: the bundled demo's pictures, repeated until they outlast the measurement, at 50 frames a
# second (delay 1).
"$build/tools/draw_demo_frames" demo "$work/frames" >/dev/null
pictures=("$work"/frames/frame-*.ppm)
list=()
while ((${#list[@]} < (seconds + 8) * 50)); do
    list+=("${pictures[@]}")
done
"$build/tools/qzmtool" encode "${list[@]}" -o "$work/fast.qzm" --delay 1 --dither ordered >/dev/null

start_display "${width}x${height}" ${fullscreen:+openbox}
printf '[Render]\nFilter=3\n' >"$work/config/QZMPlayer.ini"
start_player "$work/fast.qzm"
if [[ -z $fullscreen ]]; then
    resize_window "$window" "$width" "$height"
fi
sleep 1
# The window's height on the screen, where the counter is read.
read -r window_width window_height < <(window_size "$window")

# Each counter glyph as a string of green/not-green pixels; the reference glyphs come from the strip.
glyph_bits() { convert "$1" -crop "$2" +repage -sample '8x16!' -fx 'g>0.5' -depth 8 gray:- | od -An -v -tx1 | tr -d ' \n'; }
chars="0123456789:"
refs=()
for k in $(seq 0 10); do
    refs[k]=$(glyph_bits res/skin/digits.png "8x16+0+$((16 * k))")
done
# The counter's glyphs stand at (100 + 8 i, H - 31) skin pixels: the box at (98, H - 33), its edge,
# its frame. Each glyph is sampled back to skin pixels.
read_counter() {
    local text="" bits i k c
    local rows=$((window_height / skin))
    for i in $(seq 0 7); do
        bits=$(glyph_bits "$1" "$((8 * skin))x$((16 * skin))+$(((100 + 8 * i) * skin))+$(((rows - 31) * skin))")
        c="?"
        for k in $(seq 0 10); do
            [[ "$bits" == "${refs[k]}" ]] && c=${chars:k:1}
        done
        text+=$c
    done
    echo "$text"
}
fiftieths() { # MM:SS:FF -> 1/50 s
    local m=${1:0:2} s=${1:3:2} f=${1:6:2}
    echo $(((10#$m * 60 + 10#$s) * 50 + 10#$f))
}
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$player_pid/stat"; }
rss_kb() { awk '/^VmRSS/ { print $2 }' "/proc/$player_pid/status"; }

if [[ -n $fullscreen ]]; then
    start=$(date +%s.%N)
    shoot "$window" "$work/start.png"
    xdotool windowactivate --sync "$window" key F11
    full() { [[ "$(window_size "$window")" == "$width $height" ]]; }
    wait_until 10 full || { echo "the player did not go full screen"; exit 1; }
    sleep 1
    cpu0=$(cpu_ticks)
    cpu_start=$(date +%s.%N)
    rss0=$(rss_kb)
    sleep "$seconds"
    cpu1=$(cpu_ticks)
    cpu_end=$(date +%s.%N)
    rss1=$(rss_kb)
    import -window root "$work/fullscreen.png"
    xdotool key Escape
    back() { [[ "$(window_size "$window")" == "$window_width $window_height" ]]; }
    wait_until 10 back || { echo "the player did not leave full screen"; exit 1; }
    sleep 0.5
    end=$(date +%s.%N)
    shoot "$window" "$work/end.png"
else
    cpu0=$(cpu_ticks)
    start=$(date +%s.%N)
    shoot "$window" "$work/start.png"
    rss0=$(rss_kb)
    sleep "$seconds"
    cpu1=$(cpu_ticks)
    end=$(date +%s.%N)
    shoot "$window" "$work/end.png"
    rss1=$(rss_kb)
    cpu_start=$start
    cpu_end=$end
fi

c0=$(read_counter "$work/start.png")
c1=$(read_counter "$work/end.png")
wall=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }')
cpu_wall=$(awk -v a="$cpu_start" -v b="$cpu_end" 'BEGIN { printf "%.2f", b - a }')
ticks=$(getconf CLK_TCK)
echo "player ${fullscreen:+full screen }at ${width}x${height} (scale $scale), bicubic, 50 fps stream, ${wall} s of playback:"
awk -v c=$((cpu1 - cpu0)) -v t="$ticks" -v w="$cpu_wall" \
    'BEGIN { printf "  CPU time %.2f s in %.2f s = %.1f %% of one core\n", c / t, w, 100 * c / t / w }'
if [[ "$c0$c1" == *"?"* ]]; then
    echo "  counter not readable (start \"$c0\", end \"$c1\")"
else
    shown=$(($(fiftieths "$c1") - $(fiftieths "$c0")))
    awk -v n="$shown" -v w="$wall" -v c0="$c0" -v c1="$c1" \
        'BEGIN { printf "  frames shown %d (counter %s -> %s), expected %.0f: %+.2f %%\n", n, c0, c1, 50 * w, 100 * (n / (50 * w) - 1) }'
fi
echo "  resident memory ${rss0} kB at the start, ${rss1} kB at the end"
