#include "renderer.h"

#include "blend_renderer.h"
#include "nearest_renderer.h"

namespace qzm {

namespace {

// Outputs from this size on are streamed: larger than the last-level cache of most desktop
// processors, where writing through the caches costs a read of every line as well.
constexpr std::size_t kStreamingBytes = std::size_t{24} << 20;

std::size_t Bytes(std::size_t pixels) {
    return pixels * sizeof(Pixel32);
}

}  // namespace

CRenderer::CRenderer() : m_kernel(BestKernel()) {
    for (int i = 0; i < kColourCount; ++i) {
        m_colours[i] = ColourPixel(i);
    }
}

CRenderer::~CRenderer() = default;

void CRenderer::Render(const std::uint8_t* image, int width, int height, int x, int y) {
    Prepare();
    PrepareFrameBuffer(width, height, x, y);
    if (m_outputWidth == 0) {
        return;
    }
    m_rows = m_frameBuffer.data();
    m_rowStride = static_cast<std::size_t>(width);
    Draw(image, width, height);
}

void CRenderer::RenderInto(const std::uint8_t* image, const PixelTarget& target, int width, int height) {
    if (width < 1 || height < 1 || target.pixels == nullptr) {
        return;
    }
    Prepare();
    // Streaming goes through the scratch rows into the frame buffer's aligned rows only.
    const bool streams = m_streams;
    m_streams = false;
    m_rows = target.pixels;
    m_rowStride = target.stride;
    Draw(image, width, height);
    m_streams = streams;
    m_rows = m_frameBuffer.data();
    m_rowStride = static_cast<std::size_t>(m_outputWidth);
}

void CRenderer::PrepareFrameBuffer(int width, int height, int x, int y) {
    if (width < 1 || height < 1) {
        width = 0;
        height = 0;
    }
    const std::size_t needed = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const bool wider = width > m_widestOutput;
    const bool larger = needed > m_frameBuffer.size();
    m_widestOutput = wider ? width : m_widestOutput;
    m_streams = false;
    if (larger) {
        // Drop the old buffer first so that the peak is one buffer, not two. Should the new one
        // fail, the exception leaves an empty output behind, which Blit does not draw.
        m_outputWidth = 0;
        m_outputHeight = 0;
        m_frameBuffer = AlignedArray<Pixel32>();
        m_frameBuffer = AlignedArray<Pixel32>(needed);
    }
    if ((wider || larger) && Bytes(m_frameBuffer.size()) >= kStreamingBytes) {
        m_scratch = AlignedArray<Pixel32>();
        m_scratch = AlignedArray<Pixel32>(static_cast<std::size_t>(kScratchRows) * m_widestOutput);
    }
    m_streams = width % 8 == 0 && Bytes(needed) >= kStreamingBytes && !m_scratch.empty();
    m_outputWidth = width;
    m_outputHeight = height;
    m_outputX = x;
    m_outputY = y;
}

void CRenderer::Blit(IPaintDevice& device) const {
    if (m_outputWidth == 0 || m_outputHeight == 0) {
        return;
    }
    device.DrawPixels(m_outputX, m_outputY, m_frameBuffer.data(), m_outputWidth, m_outputHeight);
}

bool CRenderer::UseKernel(RenderKernel kernel) {
    if (!KernelSupported(kernel)) {
        return false;
    }
    m_kernel = kernel;
    return true;
}

std::unique_ptr<CRenderer> CreateRenderer(int filterIndex) {
    switch (filterIndex) {
        case FilterBilinear: return std::make_unique<CBlendRenderer>();
        case FilterBiquadratic: return std::make_unique<CBiquadraticRenderer>();
        case FilterBicubic: return std::make_unique<CBicubicRenderer>();
        default: return std::make_unique<CNearestRenderer>();
    }
}

}  // namespace qzm
