// One output row at a time. Each kernel writes all OutputWidth pixels of `out` and nothing else.
#pragma once

#include <array>
#include <cstdint>

#include "column_map.h"
#include "indexed_image.h"
#include "neighbourhood.h"
#include "sampling.h"

namespace qzm {

// The colours of one source row as ready pixels, with room for an 8-pixel load at any column.
struct alignas(32) RowColours {
    std::array<Pixel32, kImageWidth + 8> pixel{};
};

using ColourTable = std::array<Pixel32, kColourCount>;

// One output row of the interpolating renderers: where it goes and the offset of its vertical
// eighth in the BlendTable (v * 8). The output rows that sample one source row are made together,
// so that each table block of that row's codes is fetched once for all of them.
struct BlendTarget {
    Pixel32* out = nullptr;
    std::uint32_t eighthOffset = 0;
};
// The rows of one source row at different vertical eighths: at most one per eighth.
inline constexpr int kMaxBlendTargets = kFractionSteps;

// Portable kernels.
void FillRowColoursPortable(const std::uint8_t* sourceRow, const ColourTable& colours, RowColours& row);
void NearestRowPortable(const RowColours& row, const ColumnMap& map, Pixel32* out);
// Writes `count` output rows (at most kMaxBlendTargets) that sample the source row of `codes`.
void BlendRowsPortable(const Pixel32* table, const RowCodeOffsets& codes, const ColumnMap& map,
                       const BlendTarget* targets, int count);

// AVX2 kernels: call only where KernelSupported(RenderKernel::Avx2). The BlendTable must be
// 32-byte aligned.
void FillRowColoursAvx2(const std::uint8_t* sourceRow, const ColourTable& colours, RowColours& row);
void NearestRowAvx2(const RowColours& row, const ColumnMap& map, Pixel32* out);
void BlendRowsAvx2(const Pixel32* table, const RowCodeOffsets& codes, const ColumnMap& map,
                   const BlendTarget* targets, int count);

// Copies a row of `width` pixels (a multiple of 8) to 32-byte aligned `to` with streaming stores,
// which bypass the caches: for outputs too large to stay in them, this saves reading each line of
// the frame buffer before writing it. StreamFence orders those stores before any that follow.
void StreamRowAvx2(const Pixel32* from, Pixel32* to, int width);
void StreamFence();

}  // namespace qzm
