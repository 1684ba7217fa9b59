#!/usr/bin/env bash
# Builds the project and plays the bundled demo video: every frame is decoded and written as a PNG
# picture into build-release/demo-frames/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQZM_BUILD_TESTS=OFF -DQZM_BUILD_BENCH=OFF
cmake --build build-release

tool=build-release/tools/qzmtool
out=build-release/demo-frames
rm -rf "$out"
"$tool" info samples/demo.qzm
"$tool" export samples/demo.qzm --out "$out" --format png
echo "Decoded $(ls "$out" | wc -l) frames of samples/demo.qzm into $out/"
