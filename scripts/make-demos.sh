#!/usr/bin/env bash
# Makes the bundled demos in samples/ from pictures that tools/authoring/draw_demo_frames.cpp draws:
#   samples/demo.qzm    the main demo, 24 s (what scripts/run-demo.sh plays)
#   samples/demos.trd   a TR-DOS disk image and
#   samples/demos.scl   an SCL archive, each holding the demo and a 10 s sunset, so the player
#                       offers the choice between them
# It builds what it needs in build-demos/ and rewrites those three files; run it again after
# changing the drawing, the encoder or the packer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
build=build-demos
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQZM_BUILD_TESTS=OFF -DQZM_BUILD_BENCH=OFF \
    >/dev/null
cmake --build "$build" --target qzmtool draw_demo_frames
tool="$build/tools/qzmtool"
draw="$build/tools/draw_demo_frames"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each scene: drawn as pictures, then encoded at 25 frames a second (delay 2) with ordered
# dithering, which turns the landscape's smooth gradients into Spectrum-like patterns.
encode() {
    local scene=$1 name=$2 title=$3
    "$draw" "$scene" "$work/$scene"
    "$tool" encode "$work/$scene"/frame-*.ppm -o "$work/$scene.qzm" --delay 2 --dither ordered \
        --name "$name" --title "$title" --author "QZM Player"
}
encode demo DEMO "QZM Player: демо / demo"
encode sunset SUNSET "Закат / Sunset"

mkdir -p samples
cp "$work/demo.qzm" samples/demo.qzm
"$tool" pack samples/demos.trd "$work/demo.qzm" "$work/sunset.qzm"
"$tool" pack samples/demos.scl "$work/demo.qzm" "$work/sunset.qzm"

for file in samples/demo.qzm samples/demos.trd samples/demos.scl; do
    size=$(stat -c %s "$file")
    if (( size >= 1024 * 1024 )); then
        echo "make-demos: $file is $size bytes, more than the 1 MB a bundled demo may take" >&2
        exit 1
    fi
    echo "$file: $size bytes"
done
