// Nearest neighbour: every output pixel takes the colour of the source pixel its 8.8 fixed-point
// position falls in.
#pragma once

#include "column_map.h"
#include "renderer.h"
#include "row_kernels.h"

namespace qzm {

class CNearestRenderer : public CRenderer {
protected:
    void Draw(const std::uint8_t* image, int width, int height) override;

private:
    // Output row `out` from the IndexedImage row `sourceRow`.
    void MakeRow(const std::uint8_t* sourceRow, Pixel32* out);

    ColumnMap m_columns;
    RowColours m_rowColours;
};

}  // namespace qzm
