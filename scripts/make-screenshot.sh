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

# shellcheck source=tests/e2e/x11_session.sh
source tests/e2e/x11_session.sh
start_display 1024x768
printf '[Render]\nFilter=3\n' >"$work/config/QZMPlayer.ini"
start_player samples/demo.qzm
# The size at which the picture area holds the picture at twice the Spectrum's 256 x 192.
resize_window "$window" 523 461
sleep "$seconds"
shoot "$window" "$work/shot.png"
mkdir -p "$(dirname "$out")"
convert "$work/shot.png" -strip "$out"
echo "$out"
