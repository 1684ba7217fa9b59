#include "time_counter.h"

#include <cstdio>

namespace qzm::ui {

std::string TimeText(int frame, int delay) {
    if (delay == 0) {
        delay = 1;
    }
    if (frame == 0xFFFF) {
        frame = 0;
    }
    const int t = frame * delay;  // at most 65534 * 255: fits
    char text[16];
    std::snprintf(text, sizeof text, "%.2i:%.2i:%.2i", t / 3000, t % 3000 / 50, t % 50);
    return text;
}

std::array<int, kCounterGlyphs> TimeGlyphs(int frame, int delay) {
    const std::string text = TimeText(frame, delay);
    std::array<int, kCounterGlyphs> glyphs{};
    for (int i = 0; i < kCounterGlyphs; ++i) {
        glyphs[i] = text[static_cast<std::size_t>(i)] == ':' ? 10 : text[static_cast<std::size_t>(i)] - '0';
    }
    return glyphs;
}

}  // namespace qzm::ui
