#!/usr/bin/env bash
# Photographs the player's window playing the bundled demo on a virtual X display (Xvfb, no window
# manager), with the bicubic method, after a few seconds of playback. Without arguments it writes
# docs/screenshot.png, the README's picture, from the Release build that scripts/run-demo.sh makes.
#   scripts/make-screenshot.sh [PLAYER [OUT.png [SECONDS]]]
set -euo pipefail
cd "$(dirname "$0")/.."
player=${1:-build-release/ui/qzmplayer}
out=${2:-docs/screenshot.png}
seconds=${3:-4}

for tool in Xvfb xdotool import convert; do
    if ! command -v "$tool" >/dev/null; then
        echo "make-screenshot: $tool is not installed (scripts/install-deps.sh --tests installs it)" >&2
        exit 1
    fi
done
if [[ ! -x "$player" ]]; then
    echo "make-screenshot: no $player; scripts/run-demo.sh builds it" >&2
    exit 1
fi

work=$(mktemp -d)
xvfb_pid=""
player_pid=""
cleanup() {
    [[ -n "$player_pid" ]] && kill "$player_pid" 2>/dev/null && wait "$player_pid" 2>/dev/null
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap 'cleanup || true' EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s "$work/display" ]] && break
    sleep 0.1
done
[[ -s "$work/display" ]] || { cat "$work/xvfb.log" >&2; exit 1; }
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY

mkdir -p "$work/config"
printf '[Render]\nFilter=3\n' >"$work/config/QZMPlayer.ini"
XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb "$player" samples/demo.qzm >"$work/player.log" 2>&1 &
player_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^QZM Player 0\.31$' | head -n 1) || true
if [[ -z "$window" ]]; then
    echo "make-screenshot: the player's window did not appear" >&2
    cat "$work/player.log" >&2
    exit 1
fi
# The size at which the picture area holds the picture at twice the Spectrum's 256 x 192.
xdotool windowsize "$window" 523 461
sleep "$seconds"
import -window "$window" "$work/shot.png"
mkdir -p "$(dirname "$out")"
convert "$work/shot.png" -strip "$out"
echo "$out"
