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

// Like the AVX2 kernel, each run is written as 8 whole pixels in order, the excess being overwritten
// by the next run, so the inner loop has a fixed length; the row's last pixels go one by one.
void BlendRowsPortable(const Pixel32* table, const RowCodeOffsets& codes, const ColumnMap& map,
                       const BlendTarget* targets, int count) {
    const std::uint32_t* starts = map.RunStarts();
    const std::uint32_t* runColumns = map.RunColumns();
    const PermuteLanes* runEighths = map.RunEighths();
    const std::uint8_t* columns = map.Columns();
    const std::uint8_t* eighths = map.Eighths();
    const int runs = map.FullRuns();
    const int width = map.Width();
    for (int t = 0; t < count; ++t) {
        const Pixel32* row = table + targets[t].eighthOffset;
        Pixel32* out = targets[t].out;
        for (int k = 0; k < runs; ++k) {
            const Pixel32* entries = row + codes[runColumns[k]];
            Pixel32* run = out + starts[k];
            for (int lane = 0; lane < kLanes; ++lane) {
                run[lane] = entries[runEighths[k].lane[lane]];
            }
        }
        for (int j = map.TailStart(); j < width; ++j) {
            out[j] = row[codes[columns[j]] + eighths[j]];
        }
    }
}

}  // namespace qzm
