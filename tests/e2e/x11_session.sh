# shellcheck shell=bash
# Shared by the end-to-end tests and the screenshot and playback scripts (sourced, not run): a private X
# display with no window manager, the player started on it, screenshots of its window taken from
# outside the process, and measurements of boxes of those screenshots, the skin's layout among them. Expects "player" (the qzmplayer
# binary) to be set; makes "work".
set -euo pipefail

work=$(mktemp -d)
xvfb_pid=""
player_pid=""
helper_pids=() # a window manager or compositor, ended with the display
failures=0

stop_all() {
    [[ -n "$player_pid" ]] && kill "$player_pid" 2>/dev/null && wait "$player_pid" 2>/dev/null
    local pid
    for pid in "${helper_pids[@]}"; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap 'stop_all || true' EXIT

# Starts Xvfb on the first free display number (it reports the number once it accepts clients), with a
# screen of the given size (default 1600x1200).
start_display() {
    Xvfb -displayfd 3 -screen 0 "${1:-1600x1200}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [[ -s "$work/display" ]] && break
        sleep 0.1
    done
    [[ -s "$work/display" ]] || { echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1; }
    DISPLAY=":$(head -n 1 "$work/display")"
    export DISPLAY
}

# Starts the player with the given arguments and a configuration folder of its own ($work/config, where
# a test may put QZMPlayer.ini first), in English or in the locale "player_locale" names, and sets
# "window" to its main window's id.
start_player() {
    mkdir -p "$work/config"
    LC_ALL=${player_locale:-C.UTF-8} LANGUAGE= XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb \
        ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
        "$player" "$@" >"$work/player.log" 2>&1 &
    player_pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^QZM Player 0\.31$' | head -n 1) || true
    if [[ -z "$window" ]]; then
        echo "the player's window did not appear"
        cat "$work/player.log"
        exit 1
    fi
}

player_alive() { kill -0 "$player_pid" 2>/dev/null; }

# wait_until SECONDS COMMAND...: runs the command every tenth of a second until it succeeds; fails
# when it has not within SECONDS.
wait_until() {
    local tries=$(($1 * 10))
    shift
    while ! "$@"; do
        ((--tries > 0)) || return 1
        sleep 0.1
    done
}

# The window's size as "W H".
window_size() {
    local WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(WIDTH|HEIGHT)=')"
    echo "$WIDTH $HEIGHT"
}

# Resizes the window and waits until the X server reports the new size.
resize_window() {
    xdotool windowsize "$1" "$2" "$3"
    for _ in $(seq 50); do
        [[ "$(window_size "$1")" == "$2 $3" ]] && return 0
        sleep 0.1
    done
    echo "the window did not take the size $2x$3 (it is $(window_size "$1"))"
    exit 1
}

shoot() { import -window "$1" "$2"; }

# The share (0..1) of the pixels in box WxH+X+Y of a picture for which an -fx predicate holds; the
# predicate sees the channels r, g, b scaled to 0..1.
share() { convert "$1" -crop "$2" +repage -fx "$3" -format '%[fx:mean]' info:; }

BLUE='abs(r-0)<0.04 && abs(g-0.333)<0.04 && abs(b-0.898)<0.04'
WHITE='r>0.9 && g>0.9 && b>0.9'
RED='r>0.4 && r>g+0.3 && r>b+0.3'
YELLOW='r>0.55 && g>0.45 && b<0.35'
GREEN='r<0.1 && g>0.9 && b<0.1'
DARK='r<0.1 && g<0.1 && b<0.1'

# Reports a failed check and counts it; the test goes on.
fail() {
    echo "FAIL $*"
    failures=$((failures + 1))
}

# expect NAME PICTURE BOX PREDICATE LOW [HIGH]: the share of the box's pixels matching the predicate is
# at least LOW (and at most HIGH); a miss is counted and reported, the test goes on.
expect() {
    local got
    got=$(share "$2" "$3" "$4")
    if ! awk -v g="$got" -v lo="$5" -v hi="${6:-1}" 'BEGIN { exit !(g >= lo && g <= hi) }'; then
        fail "$1: box $3 has $got of its pixels matching [$4], expected $5..${6:-1}"
    fi
}

# check_layout PICTURE W H [X Y]: the skinned frame of a W x H window (at X, Y in the picture), by its
# pixels at the layout's places: the blue around the controls and the picture area, the frame buttons
# (close red with a white cross, the others blue with white symbols), the title, the yellow buttons
# and the time counter (green glyphs on a near-black ground inside a dark frame).
check_layout() {
    local shot=$1 w=$2 h=$3 ox=${4:-0} oy=${5:-0} b=$(($3 - 33)) name_x
    at() { echo "$1x$2+$((ox + $3))+$((oy + $4))"; }
    expect "top strip" "$shot" "$(at 20 12 34 3)" "$BLUE" 0.99
    expect "left band" "$shot" "$(at 3 100 0 40)" "$BLUE" 0.99
    expect "right band" "$shot" "$(at 7 100 $((w - 7)) 40)" "$BLUE" 0.99
    expect "bottom rows" "$shot" "$(at $((w - 20)) 8 10 $((h - 8)))" "$BLUE" 0.99
    expect "between stop and counter" "$shot" "$(at 6 24 92 $b)" "$BLUE" 0.99
    expect "close" "$shot" "$(at 16 16 $((w - 22)) 0)" "$RED" 0.4
    expect "close symbol" "$shot" "$(at 16 16 $((w - 22)) 0)" "$WHITE" 0.03 0.6
    for name_x in maximize:$((w - 39)) minimize:$((w - 57)) ontop:16 about:0; do
        expect "${name_x%%:*} symbol" "$shot" "$(at 16 16 "${name_x#*:}" 0)" "$WHITE" 0.03 0.6
        expect "${name_x%%:*} ground" "$shot" "$(at 16 16 "${name_x#*:}" 0)" "$RED" 0 0
    done
    expect "title" "$shot" "$(at 104 16 $((w / 2 - 58)) 0)" "$WHITE" 0.03 0.6
    for name_x in open:8 play:38 stop:68 info:$((w - 72)) options:$((w - 40)); do
        expect "${name_x%%:*} button" "$shot" "$(at 24 24 "${name_x#*:}" $b)" "$YELLOW" 0.3
    done
    expect "counter glyphs" "$shot" "$(at 66 18 99 $((b + 1)))" "$GREEN" 0.1 0.6
    expect "counter ground" "$shot" "$(at 66 18 99 $((b + 1)))" "$DARK" 0.3
    expect "counter box" "$shot" "$(at 68 20 98 $b)" "$BLUE" 0 0
}

# Waits until a box of the window is mostly of a colour (the window has painted), up to 20 s.
wait_painted() {
    for _ in $(seq 100); do
        shoot "$1" "$work/wait.png" 2>/dev/null &&
            awk -v g="$(share "$work/wait.png" "$2" "$3")" 'BEGIN { exit !(g > 0.9) }' && return 0
        sleep 0.2
    done
    echo "the window never painted box $2 in the expected colour"
    exit 1
}

finish() {
    if [[ $failures -ne 0 ]]; then
        echo "$failures check(s) failed; the player said:"
        cat "$work/player.log"
        exit 1
    fi
    echo "all checks passed"
}
