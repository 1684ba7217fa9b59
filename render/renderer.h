// Renderers scale the IndexedImage into a 32-bit frame buffer of any size and draw it, or scale it
// straight into a device's memory.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "aligned_array.h"
#include "indexed_image.h"
#include "paint_device.h"
#include "render_kernel.h"

namespace qzm {

// Filter indices: which renderer SetFilter builds.
enum FilterIndex : int {
    FilterNearest = 0,
    FilterBilinear = 1,
    FilterBiquadratic = 2,
    FilterBicubic = 3,
};

class CRenderer {
public:
    CRenderer();
    virtual ~CRenderer();
    CRenderer(const CRenderer&) = delete;
    CRenderer& operator=(const CRenderer&) = delete;

    // Scales `image` (an IndexedImage, guard included) to width x height into the frame buffer and
    // records (x, y) as the place where Blit draws it. A size below 1 x 1 leaves an empty output
    // that Blit does not draw.
    void Render(const std::uint8_t* image, int width, int height, int x, int y);

    // Scales `image` to width x height straight into `target`, which must hold that many pixels; the
    // frame buffer and the last output stay as they were. A size below 1 x 1 writes nothing. Never
    // allocates once the renderer has rendered.
    void RenderInto(const std::uint8_t* image, const PixelTarget& target, int width, int height);

    // Draws the last output at its recorded position; draws nothing before the first Render.
    void Blit(IPaintDevice& device) const;

    int OutputWidth() const { return m_outputWidth; }
    int OutputHeight() const { return m_outputHeight; }
    int OutputX() const { return m_outputX; }
    int OutputY() const { return m_outputY; }

    // The last output: OutputHeight() rows of OutputWidth() pixels, top row first.
    const Pixel32* Pixels() const { return m_frameBuffer.data(); }

    // How many pixels the frame buffer holds; it grows to the largest output asked so far and
    // never shrinks, so resizing within it does not allocate.
    std::size_t Capacity() const { return m_frameBuffer.size(); }

    // The eight colours as ready output pixels.
    const std::array<Pixel32, kColourCount>& Colours() const { return m_colours; }

    // The inner loops in use: the fastest the processor runs, unless chosen otherwise. Choosing a
    // kernel the processor lacks changes nothing and returns false.
    RenderKernel Kernel() const { return m_kernel; }
    bool UseKernel(RenderKernel kernel);

protected:
    // Outputs too large for the caches are made a few rows at a time in scratch rows and streamed
    // into the frame buffer with stores that skip reading each line first. StreamsOutput says
    // whether the current output is one of them (and laid out for such stores: rows of whole
    // 32-byte groups); ScratchRow(t), t < kScratchRows, is then a row of at least OutputWidth()
    // pixels. The scratch rows are made only when the frame buffer or the widest
    // output grows, so they never cost a frame an allocation of its own.
    static constexpr int kScratchRows = 8;
    bool StreamsOutput() const { return m_streams; }
    Pixel32* ScratchRow(int t) {
        return m_scratch.data() + static_cast<std::size_t>(t) * static_cast<std::size_t>(m_widestOutput);
    }

    // Output row `m` counted from the top, in the frame buffer or the target being rendered into. The
    // scaling formulas count output rows i from the bottom; output row i is row height - 1 - i from
    // the top.
    Pixel32* RowFromTop(int m) { return m_rows + static_cast<std::size_t>(m) * m_rowStride; }

    // What comes before any output: the interpolating renderers build their tables here, so that a
    // failure to allocate them leaves the last output as it was.
    virtual void Prepare() {}
    // Writes all width x height output pixels, each row through RowFromTop.
    virtual void Draw(const std::uint8_t* image, int width, int height) = 0;

private:
    // Makes room in the frame buffer for a width x height output and records its geometry.
    void PrepareFrameBuffer(int width, int height, int x, int y);

    AlignedArray<Pixel32> m_frameBuffer;
    Pixel32* m_rows = nullptr;  // where RowFromTop writes: the frame buffer, or a target
    std::size_t m_rowStride = 0;
    AlignedArray<Pixel32> m_scratch;
    int m_widestOutput = 0;
    bool m_streams = false;
    std::array<Pixel32, kColourCount> m_colours{};
    RenderKernel m_kernel;
    int m_outputWidth = 0;
    int m_outputHeight = 0;
    int m_outputX = 0;
    int m_outputY = 0;
};

// Builds the renderer for a filter index: 1 bilinear, 2 biquadratic, 3 bicubic, anything else
// nearest neighbour.
std::unique_ptr<CRenderer> CreateRenderer(int filterIndex);

}  // namespace qzm
