#include "renderer.h"

namespace qzm {

CRenderer::CRenderer() {
    for (int i = 0; i < kColourCount; ++i) {
        m_colours[i] = ColourPixel(i);
    }
}

CRenderer::~CRenderer() = default;

void CRenderer::Render(const std::uint8_t* /*image*/, int width, int height, int x, int y) {
    if (width < 1 || height < 1) {
        width = 0;
        height = 0;
    }
    const std::size_t needed = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (needed > m_capacity) {
        // Drop the old buffer first so that the peak is one buffer, not two.
        m_frameBuffer.reset();
        m_capacity = 0;
        m_frameBuffer = std::make_unique_for_overwrite<Pixel32[]>(needed);
        m_capacity = needed;
    }
    m_outputWidth = width;
    m_outputHeight = height;
    m_outputX = x;
    m_outputY = y;
}

void CRenderer::Blit(IPaintDevice& device) const {
    if (m_outputWidth == 0 || m_outputHeight == 0) {
        return;
    }
    device.DrawPixels(m_outputX, m_outputY, m_frameBuffer.get(), m_outputWidth, m_outputHeight);
}

void CNearestRenderer::Render(const std::uint8_t* image, int width, int height, int x, int y) {
    CRenderer::Render(image, width, height, x, y);
    if (OutputWidth() == 0) {
        return;
    }
    const std::uint32_t xstep = 65536u / static_cast<std::uint32_t>(width);
    const std::uint32_t ystep = 49152u / static_cast<std::uint32_t>(height);
    std::uint32_t yacc = 0;
    for (int i = 0; i < height; ++i, yacc += ystep) {
        const std::uint8_t* src = image + static_cast<std::size_t>(yacc >> 8) * kImageWidth;
        Pixel32* out = OutputRowFromBottom(i);
        std::uint32_t xacc = 0;
        for (int j = 0; j < width; ++j, xacc += xstep) {
            out[j] = m_colours[src[xacc >> 8] & 7];
        }
    }
}

std::unique_ptr<CRenderer> CreateRenderer(int /*filterIndex*/) {
    return std::make_unique<CNearestRenderer>();
}

}  // namespace qzm
