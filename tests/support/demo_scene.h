// A synthetic animated scene and the stream that plays it: the tests' and the benchmarks' realistic
// input, which mixes every frame form.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "qzm_format.h"

namespace qzm::testing {

// Draws frame `frame` of the scene into `screen`: a bouncing ball, a scrolling wave, a frame
// number and, from `colourFrame` on (-1: never), colour bars that cycle.
void DrawDemoScreen(int frame, int colourFrame, std::span<std::uint8_t, kScreenBytes> screen);

struct DemoStreamOptions {
    int frames = 500;
    std::uint8_t frameDelay = 2;
    std::uint8_t version = 2;
    std::string name = "DEMO";
    std::string title = "QZM Player demo";
    std::string author = "QZM Player";
};

// A stream of the scene, coded by the encoder's frame coder in four phases: literal cells (with a full-screen
// frame now and then), masked cells, masked cells XORed onto the screen (with LSCREEN frames), and the packed
// form with colour-cycling attributes (with LSCREEN frames). The header's block list gives its length.
std::vector<std::uint8_t> BuildDemoStream(const DemoStreamOptions& options);

}  // namespace qzm::testing
