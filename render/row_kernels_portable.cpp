#include "row_kernels.h"

namespace qzm {

void FillRowColoursPortable(const std::uint8_t* sourceRow, const ColourTable& colours, RowColours& row) {
    for (int c = 0; c < kImageWidth; ++c) {
        row.pixel[c] = colours[sourceRow[c] & 7u];
    }
}

void NearestRowPortable(const RowColours& row, const ColumnMap& map, Pixel32* out) {
    const std::uint8_t* columns = map.Columns();
    const int width = map.Width();
    for (int j = 0; j < width; ++j) {
        out[j] = row.pixel[columns[j]];
    }
}

void BlendRowsPortable(const Pixel32* table, const RowCodeOffsets& codes, const ColumnMap& map,
                       const BlendTarget* targets, int count) {
    const std::uint32_t* starts = map.RunStarts();
    const std::uint32_t* columns = map.RunColumns();
    const std::uint8_t* eighths = map.Eighths();
    const int runs = map.Runs();
    for (int k = 0; k < runs; ++k) {
        const Pixel32* entries = table + codes[columns[k]];
        for (int t = 0; t < count; ++t) {
            const Pixel32* row = entries + targets[t].eighthOffset;
            Pixel32* out = targets[t].out;
            for (std::uint32_t j = starts[k]; j < starts[k + 1]; ++j) {
                out[j] = row[eighths[j]];
            }
        }
    }
}

}  // namespace qzm
