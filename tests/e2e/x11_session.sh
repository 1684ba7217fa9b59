# shellcheck shell=bash
# Shared by the end-to-end tests and the screenshot and playback scripts (sourced, not run): a private X
# display, with openbox or no window manager, the player started on it, screenshots of its window taken
# from outside the process, and measurements of boxes of those screenshots, the skin's layout among them.
# Expects "player" (the qzmplayer binary) to be set; makes "work" and "work/config", the player's.
# shellcheck source=tests/e2e/prelude.sh
source "$(dirname "${BASH_SOURCE[0]}")/prelude.sh"
mkdir "$work/config"
xvfb_pid=""
player_pid=""
helper_pids=() # a window manager or compositor, ended with the display

stop_player() {
    { kill "$player_pid" && wait "$player_pid"; } 2>/dev/null || true
    player_pid=""
}
stop_all() {
    stop_player
    local pid
    for pid in "${helper_pids[@]}" ${xvfb_pid:+"$xvfb_pid"}; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    rm -rf "$work"
}

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

# start_display [WxH [openbox]]: Xvfb on the first free display number (it reports the number once it
# accepts clients), with a screen of that size (default 1600x1200), and openbox on it when asked.
# shellcheck disable=SC2120 # the size is optional
start_display() {
    Xvfb -displayfd 3 -screen 0 "${1:-1600x1200}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    wait_until 10 test -s "$work/display" || { echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1; }
    DISPLAY=":$(head -n 1 "$work/display")"
    export DISPLAY
    [[ ${2:-} == openbox ]] || return 0
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    helper_pids+=($!)
    wait_until 20 wmctrl -m >/dev/null 2>&1 || { echo "openbox did not start"; exit 1; }
}

# Starts the player with the given arguments and a configuration folder of its own ($work/config, where
# a test may put QZMPlayer.ini first), in English or in the locale "player_locale" names, on X or on the
# toolkit's platform "player_platform" names; on X, sets "window" to its main window's id.
start_player() {
    # shellcheck disable=SC2154 # "player" is set by the script that sources this
    LC_ALL=${player_locale:-C.UTF-8} LANGUAGE='' XDG_CONFIG_HOME="$work/config" \
        QT_QPA_PLATFORM=${player_platform:-xcb} ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
        "$player" "$@" >"$work/player.log" 2>&1 &
    player_pid=$!
    [[ ${player_platform:-xcb} == xcb ]] || return 0
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^QZM Player 0\.31$' | head -n 1) || true
    [[ -n "$window" ]] || { echo "the player's window did not appear"; cat "$work/player.log"; exit 1; }
}

player_alive() { kill -0 "$player_pid" 2>/dev/null; }
player_ended() { ! player_alive; }
# expect_exit WHAT: the player ends by itself within 5 s, without an error.
expect_exit() {
    { wait_until 5 player_ended && wait "$player_pid"; } || fail "$1"
    player_pid=""
}

# A window's place and size as "X Y W H" (the main window's by default), and its size as "W H".
geometry() { xdotool getwindowgeometry --shell "${1:-$window}" | awk -F= '{ printf "%s ", $2 }' | cut -d' ' -f2-5; }
window_size() { geometry "$1" | cut -d' ' -f3-4; }
at() { [[ "$(geometry)" == "$1" ]]; }
# expect_at WHAT "X Y W H": the main window gets there within 5 s.
expect_at() { wait_until 5 at "$2" || fail "$1: the window is at $(geometry), expected $2"; }
# The main window's state, as the window manager keeps it, holds a word or not.
has_state() { xprop -id "$window" _NET_WM_STATE WM_STATE | grep -q "$1"; }
lacks_state() { ! has_state "$1"; }

# The first visible window of a title, and whether there is one.
titled() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true; }
shown() { [[ -n "$(titled "$1")" ]]; }
gone() { ! shown "$1"; }
# expect_box WHAT: a message box appears, owned by the main window, and goes on Return.
expect_box() {
    wait_until 20 shown "QZM Player" || { fail "no message box $1"; return; }
    local box owner
    box=$(titled "QZM Player")
    owner=$(xprop -id "$box" WM_TRANSIENT_FOR | grep -o '0x[0-9a-f]*' || true)
    [[ -n "$owner" && $((owner)) -eq $window ]] || fail "the box $1 is not the main window's"
    xdotool windowactivate --sync "$box" key --clearmodifiers Return
    wait_until 5 gone "QZM Player" || fail "the message box $1 did not close on Return"
}

# Resizes the window and waits until the X server reports the new size.
sized() { [[ "$(window_size "$1")" == "$2 $3" ]]; }
resize_window() {
    xdotool windowsize "$1" "$2" "$3"
    wait_until 5 sized "$@" || { echo "the window did not take the size $2x$3, it is $(window_size "$1")"; exit 1; }
}

shoot() { import -window "$1" "$2"; }
# What "playing" compares: the main window, unless a test shoots the whole screen instead.
screenshot() { shoot "$window" "$1"; }
crop() { convert "$1" -crop "$2" +repage "$3"; }
# The number of pixels in which two pictures differ.
unlike() { { compare -metric AE "$1" "$2" null: 2>&1 || true; } | awk '{ printf "%d", $1 }'; }
# changed BOX: the box differs between the shots $work/one.png and $work/two.png.
changed() {
    crop "$work/one.png" "$1" "$work/a.png"
    crop "$work/two.png" "$1" "$work/b.png"
    [[ "$(unlike "$work/a.png" "$work/b.png")" != 0 ]]
}
# playing BOX...: a new screenshot, $work/two.png, differs from $work/one.png in every box.
playing() {
    screenshot "$work/two.png" || return 1
    local box
    for box; do changed "$box" || return 1; done
}
# off_blocks PICTURE BOX: the pixels of the box that differ from it shrunk to every second pixel and
# doubled back: none when it is made of 2 x 2 blocks.
off_blocks() {
    crop "$1" "$2" "$work/box.png"
    convert "$work/box.png" -sample 50% -sample "${2%%+*}!" "$work/blocks.png"
    unlike "$work/box.png" "$work/blocks.png"
}
# expect_colours WHAT PICTURE BOX LEAST: the box holds at least LEAST colours.
expect_colours() {
    local got
    got=$(convert "$2" -crop "$3" +repage -unique-colors -format '%w' info:)
    ((got >= $4)) || fail "$1 holds $got colours, expected $4 or more"
}

# The share (0..1) of the pixels in box WxH+X+Y of a picture for which an -fx predicate holds; the
# predicate sees the channels r, g, b scaled to 0..1.
share() { convert "$1" -crop "$2" +repage -fx "$3" -format '%[fx:mean]' info:; }
# within VALUE LOW [HIGH]: LOW <= VALUE <= HIGH (default 1).
within() { awk -v g="$1" -v lo="$2" -v hi="${3:-1}" 'BEGIN { exit !(g >= lo && g <= hi) }'; }

BLUE='abs(r-0)<0.04 && abs(g-0.333)<0.04 && abs(b-0.898)<0.04'
WHITE='r>0.9 && g>0.9 && b>0.9'
RED='r>0.4 && r>g+0.3 && r>b+0.3'
YELLOW='r>0.55 && g>0.45 && b<0.35'
GREEN='r<0.1 && g>0.9 && b<0.1'
DARK='r<0.1 && g<0.1 && b<0.1'

# expect NAME PICTURE BOX PREDICATE LOW [HIGH]: the share of the box's pixels matching the predicate is
# at least LOW (and at most HIGH); a miss is counted and reported, the test goes on.
expect() {
    local got
    got=$(share "$2" "$3" "$4")
    within "$got" "$5" "${6:-1}" || fail "$1: box $3 has $got of its pixels matching [$4], expected $5..${6:-1}"
}

# check_layout PICTURE W H [X Y]: the skinned frame of a W x H window (at X, Y in the picture), by its
# pixels at the layout's places: the blue around the controls and the picture area, the frame buttons
# (close red with a white cross, the others blue with white symbols), the title, the yellow buttons
# and the time counter (green glyphs on a near-black ground inside a dark frame).
check_layout() {
    local shot=$1 w=$2 h=$3 ox=${4:-0} oy=${5:-0} b=$(($3 - 33)) name_x
    spot() { echo "$1x$2+$((ox + $3))+$((oy + $4))"; }
    expect "top strip" "$shot" "$(spot 20 12 34 3)" "$BLUE" 0.99
    expect "left band" "$shot" "$(spot 3 100 0 40)" "$BLUE" 0.99
    expect "right band" "$shot" "$(spot 7 100 $((w - 7)) 40)" "$BLUE" 0.99
    expect "bottom rows" "$shot" "$(spot $((w - 20)) 8 10 $((h - 8)))" "$BLUE" 0.99
    expect "between stop and counter" "$shot" "$(spot 6 24 92 $b)" "$BLUE" 0.99
    expect "close" "$shot" "$(spot 16 16 $((w - 22)) 0)" "$RED" 0.4
    expect "close symbol" "$shot" "$(spot 16 16 $((w - 22)) 0)" "$WHITE" 0.03 0.6
    for name_x in maximize:$((w - 39)) minimize:$((w - 57)) ontop:16 about:0; do
        expect "${name_x%%:*} symbol" "$shot" "$(spot 16 16 "${name_x#*:}" 0)" "$WHITE" 0.03 0.6
        expect "${name_x%%:*} ground" "$shot" "$(spot 16 16 "${name_x#*:}" 0)" "$RED" 0 0
    done
    expect "title" "$shot" "$(spot 104 16 $((w / 2 - 58)) 0)" "$WHITE" 0.03 0.6
    for name_x in open:8 play:38 stop:68 info:$((w - 72)) options:$((w - 40)); do
        expect "${name_x%%:*} button" "$shot" "$(spot 24 24 "${name_x#*:}" $b)" "$YELLOW" 0.3
    done
    expect "counter glyphs" "$shot" "$(spot 66 18 99 $((b + 1)))" "$GREEN" 0.1 0.6
    expect "counter ground" "$shot" "$(spot 66 18 99 $((b + 1)))" "$DARK" 0.3
    expect "counter box" "$shot" "$(spot 68 20 98 $b)" "$BLUE" 0 0
}

# Waits until a box of the window is mostly of a colour (the window has painted), up to 20 s.
painted() { shoot "$1" "$work/wait.png" 2>/dev/null && within "$(share "$work/wait.png" "$2" "$3")" 0.9; }
wait_painted() {
    wait_until 20 painted "$@" || { echo "the window never painted box $2 in the expected colour"; exit 1; }
}
