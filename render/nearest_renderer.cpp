#include "nearest_renderer.h"

#include <cstring>

#include "sampling.h"

namespace qzm {

// The output is written top row first. An output row that samples the same source row as the
// row above it is an exact copy of it; any other row turns its source row into 256 ready colours
// once and then picks from them. Outputs too large for the caches are made a row at a time aside
// and streamed into place.
void CNearestRenderer::Draw(const std::uint8_t* image, int width, int height) {
    m_columns.Build(width);
    const bool avx2 = Kernel() == RenderKernel::Avx2;
    const bool stream = avx2 && StreamsOutput();
    const std::uint32_t ystep = VerticalStep(height);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * sizeof(Pixel32);
    int previous = -1;
    for (int m = 0; m < height; ++m) {
        Pixel32* out = RowFromTop(m);
        const int source = SampleAt(height - 1 - m, ystep).source;
        const bool newSource = source != previous;
        if (newSource) {
            previous = source;
            MakeRow(image + static_cast<std::size_t>(source) * kImageWidth, stream ? ScratchRow(0) : out);
        }
        if (stream) {
            StreamRowAvx2(ScratchRow(0), out, width);
        } else if (!newSource) {
            std::memcpy(out, RowFromTop(m - 1), rowBytes);
        }
    }
    if (stream) {
        StreamFence();
    }
}

void CNearestRenderer::MakeRow(const std::uint8_t* sourceRow, Pixel32* out) {
    if (Kernel() == RenderKernel::Avx2) {
        FillRowColoursAvx2(sourceRow, Colours(), m_rowColours);
        NearestRowAvx2(m_rowColours, m_columns, out);
    } else {
        FillRowColoursPortable(sourceRow, Colours(), m_rowColours);
        NearestRowPortable(m_rowColours, m_columns, out);
    }
}

}  // namespace qzm
