#!/usr/bin/env bash
# Builds the player and plays the bundled demo video in its window. On a machine with no display it
# plays the demo for a few seconds on a virtual X display instead, where Xvfb is installed, and saves a
# screenshot of the window; failing that it decodes the demo's frames into PNG pictures.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQZM_BUILD_TESTS=OFF -DQZM_BUILD_BENCH=OFF
cmake --build build-release

player=build-release/ui/qzmplayer
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    exec "$player" samples/demo.qzm
fi

if command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v import >/dev/null; then
    echo "No display here (DISPLAY and WAYLAND_DISPLAY are unset): playing the demo on a virtual X display."
    shot=build-release/demo-screenshot.png
    scripts/make-screenshot.sh "$player" "$shot" 5 >/dev/null
    echo "Saved a screenshot of the window playing the demo: $shot"
else
    echo "No display here (DISPLAY and WAYLAND_DISPLAY are unset), and no Xvfb, xdotool and ImageMagick" \
        "to play on a virtual one (scripts/install-deps.sh --tests installs them): decoding the frames instead."
    out=build-release/demo-frames
    rm -rf "$out"
    build-release/tools/qzmtool export samples/demo.qzm --out "$out" --format png
    echo "Decoded $(ls "$out" | wc -l) frames of samples/demo.qzm into $out/"
fi
