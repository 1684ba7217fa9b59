#include "neighbourhood.h"

#include <cstddef>

#include "blend_table.h"

namespace qzm {

namespace {

// Colour numbers are masked so that a stray byte above 7 cannot index past the BlendTable.
unsigned PairAt(const std::uint8_t* pixel) {
    return ((pixel[0] & 7u) << 3) | (pixel[kImageWidth] & 7u);
}

const std::uint8_t* RowStart(const std::uint8_t* image, int row) {
    return image + static_cast<std::size_t>(row) * kImageWidth;
}

}  // namespace

void ComputeRowCodeOffsets(const std::uint8_t* image, int row, RowCodeOffsets& offsets) {
    const std::uint8_t* pixel = RowStart(image, row);
    unsigned next = PairAt(pixel);
    for (int c = 0; c < kImageWidth; ++c) {
        const unsigned pair = next;
        next = PairAt(pixel + c + 1);
        offsets[c] = ((pair << 6) | next) * kEntriesPerCode;
    }
}

}  // namespace qzm
