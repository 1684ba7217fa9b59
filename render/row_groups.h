// Output rows grouped by the source row they sample. The interpolating renderers make the rows of
// one group together, since they share the source row's neighbourhood codes and table blocks.
#pragma once

#include <array>
#include <cstdint>

#include "sampling.h"

namespace qzm {

// One group: output rows firstRow up to endRow (exclusive), counted from the top of an output of
// some height, all sampling source row `source`. Consecutive rows at the same vertical eighth are
// identical, so only the first row of each eighth is listed in `rows`; the others copy the row
// above them.
struct SourceRowGroup {
    struct Row {
        int row = 0;
        int eighth = 0;
    };

    int source = 0;
    int firstRow = 0;
    int endRow = 0;
    int count = 0;
    std::array<Row, kFractionSteps> rows{};
};

// The group that starts at output row `firstRow` (from the top) of an output `height` rows high
// with vertical step `ystep`. Rows from the top sample source rows from the top down, so a group's
// eighths fall as its rows go down and each appears once.
SourceRowGroup SourceRowGroupAt(int firstRow, int height, std::uint32_t ystep);

}  // namespace qzm
