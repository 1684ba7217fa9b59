// Turns the Spectrum screen into the palette-index picture the renderers read.
#pragma once

#include <cstdint>
#include <span>

#include "indexed_image.h"
#include "qzm_format.h"

namespace qzm {

// Writes rows 0-191 of `image` (bottom-up, 256 colour numbers each) from `screen` (6144 bitmap
// bytes in the Spectrum's interleaved line order, then 768 attributes). A set bit shows the ink
// (attribute bits 0-2), a clear bit the paper (bits 3-5); BRIGHT and FLASH play no part. The guard
// behind the last row is not touched.
void ScreenToIndexed(std::span<const std::uint8_t, kScreenBytes> screen, std::uint8_t* image);

}  // namespace qzm
