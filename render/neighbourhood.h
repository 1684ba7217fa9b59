// Neighbourhood codes: the four colour numbers around a source pixel, taken in the IndexedImage's
// own memory order. The right-hand neighbour of column 255 is therefore byte 256 of its row, which
// is column 0 of the next stored row (the line above on screen), and the row above the top stored
// row 191 is the image's zero guard: a black line.
#pragma once

#include <array>
#include <cstdint>

#include "indexed_image.h"

namespace qzm {

// The 12-bit code of source pixel (row, column) holds the colours of (row, column), (row + 1,
// column), (row, column + 1) and (row + 1, column + 1) in bits 11-9, 8-6, 5-3 and 2-0. For every
// column of one source row, RowCodeOffsets holds the offset of its code's block in the BlendTable
// (code * 64). The row's codes are made once and shared by all output rows that sample it.
using RowCodeOffsets = std::array<std::uint32_t, kImageWidth>;
void ComputeRowCodeOffsets(const std::uint8_t* image, int row, RowCodeOffsets& offsets);

}  // namespace qzm
