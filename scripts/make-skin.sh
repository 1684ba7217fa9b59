#!/usr/bin/env bash
# Builds make_skin and draws the player's pictures into res/skin/ (they are committed; run this after
# changing res/generator/ and commit the result). The output is the same, byte for byte, on every run.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-skin
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQZM_BUILD_RES_GENERATOR=ON \
    -DQZM_BUILD_TESTS=OFF -DQZM_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target make_skin
mkdir -p res/skin
"$build"/res/make_skin res/skin
echo "wrote $(ls res/skin/*.png | wc -l) pictures into res/skin/"
