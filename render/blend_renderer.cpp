#include "blend_renderer.h"

#include <cstring>

#include "row_groups.h"
#include "row_kernels.h"
#include "sampling.h"

namespace qzm {

CBlendRenderer::CBlendRenderer() = default;
CBlendRenderer::~CBlendRenderer() = default;

BlendWeights CBlendRenderer::MakeWeights() const {
    return LinearWeights();
}

BlendWeights CBiquadraticRenderer::MakeWeights() const {
    return QuadraticWeights();
}

BlendWeights CBicubicRenderer::MakeWeights() const {
    return CubicWeights();
}

void CBlendRenderer::BuildBlendTables() {
    if (!m_weights) {
        m_weights = std::make_unique<BlendWeights>();
    }
    *m_weights = MakeWeights();
    if (m_blendTable.empty()) {
        m_blendTable = AlignedArray<Pixel32>(kBlendTableEntries);
    }
    FillBlendTable(BuildPairTable(*m_weights), *m_weights,
                   std::span<Pixel32, kBlendTableEntries>(m_blendTable.data(), kBlendTableEntries));
}

void CBlendRenderer::Prepare() {
    if (m_blendTable.empty()) {
        BuildBlendTables();
    }
}

// The output is written top row first, one source row at a time: its 256 neighbourhood codes are
// made once, and the output rows that sample it are written together, one per vertical eighth, so
// that each column's block of table entries is fetched once for all of them. An output row at the
// same source row and eighth as the row above it is an exact copy of that row.
void CBlendRenderer::Draw(const std::uint8_t* image, int width, int height) {
    static_assert(kMaxBlendTargets <= kScratchRows, "the rows of a source row must fit the scratch rows");
    m_columns.Build(width);
    const bool avx2 = Kernel() == RenderKernel::Avx2;
    const bool stream = avx2 && StreamsOutput();
    const std::uint32_t ystep = VerticalStep(height);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * sizeof(Pixel32);
    std::array<BlendTarget, kMaxBlendTargets> targets;
    for (int m = 0; m < height;) {
        const SourceRowGroup group = SourceRowGroupAt(m, height, ystep);
        for (int t = 0; t < group.count; ++t) {
            Pixel32* out = stream ? ScratchRow(t) : RowFromTop(group.rows[t].row);
            targets[t] = {out, static_cast<std::uint32_t>(group.rows[t].eighth * kFractionSteps)};
        }
        ComputeRowCodeOffsets(image, group.source, m_codes);
        if (avx2) {
            BlendRowsAvx2(m_blendTable.data(), m_codes, m_columns, targets.data(), group.count);
        } else {
            BlendRowsPortable(m_blendTable.data(), m_codes, m_columns, targets.data(), group.count);
        }
        for (int t = 0; t < group.count; ++t) {
            const int end = t + 1 < group.count ? group.rows[t + 1].row : group.endRow;
            for (int row = group.rows[t].row; row < end; ++row) {
                if (stream) {
                    StreamRowAvx2(targets[t].out, RowFromTop(row), width);
                } else if (row > group.rows[t].row) {
                    std::memcpy(RowFromTop(row), RowFromTop(row - 1), rowBytes);
                }
            }
        }
        m = group.endRow;
    }
    if (stream) {
        StreamFence();
    }
}

}  // namespace qzm
