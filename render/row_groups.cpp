#include "row_groups.h"

namespace qzm {

SourceRowGroup SourceRowGroupAt(int firstRow, int height, std::uint32_t ystep) {
    SourceRowGroup group;
    group.firstRow = firstRow;
    group.source = SampleAt(height - 1 - firstRow, ystep).source;
    int m = firstRow;
    for (int eighth = -1; m < height; ++m) {
        const SamplePoint sample = SampleAt(height - 1 - m, ystep);
        if (sample.source != group.source) {
            break;
        }
        if (sample.eighth != eighth) {
            if (group.count == kFractionSteps) {
                break;  // cannot happen while eighths fall; ends the group safely if it did
            }
            eighth = sample.eighth;
            group.rows[group.count++] = {m, eighth};
        }
    }
    group.endRow = m;
    return group;
}

}  // namespace qzm
