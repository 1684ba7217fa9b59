#include "column_map.h"

#include <cstddef>

#include "indexed_image.h"
#include "sampling.h"

namespace qzm {

void ColumnMap::Build(int width) {
    if (width == m_width) {
        return;
    }
    const std::uint32_t xstep = HorizontalStep(width);
    const std::size_t n = static_cast<std::size_t>(width);
    m_columns.resize(n);
    m_eighths.resize(n);
    for (int j = 0; j < width; ++j) {
        const SamplePoint s = SampleAt(j, xstep);
        m_columns[j] = static_cast<std::uint8_t>(s.source);
        m_eighths[j] = static_cast<std::uint8_t>(s.eighth);
    }
    m_width = width;
    BuildRuns();
    BuildBlocks(xstep);
}

void ColumnMap::BuildRuns() {
    // Each source column sampled makes at most one run more than its pixels / 8. Reserving that
    // bound, which only grows with the width, keeps the storage fixed for every width seen.
    const std::size_t bound =
        static_cast<std::size_t>((m_width < kImageWidth ? m_width : kImageWidth) + m_width / kLanes);
    m_runStarts.clear();
    m_runColumns.clear();
    m_runEighths.clear();
    m_runStarts.reserve(bound + 1);
    m_runColumns.reserve(bound);
    m_runEighths.reserve(bound);
    m_fullRuns = 0;
    m_tailStart = m_width;
    for (int j = 0; j < m_width;) {
        const std::uint8_t column = m_columns[j];
        PermuteLanes eighths;
        const int start = j;
        for (int lane = 0; lane < kLanes && j < m_width && m_columns[j] == column; ++lane, ++j) {
            eighths.lane[lane] = m_eighths[j];
        }
        if (start + kLanes <= m_width) {
            ++m_fullRuns;
        } else if (m_tailStart == m_width) {
            m_tailStart = start;
        }
        m_runStarts.push_back(static_cast<std::uint32_t>(start));
        m_runColumns.push_back(column);
        m_runEighths.push_back(eighths);
    }
    m_runStarts.push_back(static_cast<std::uint32_t>(m_width));
}

void ColumnMap::BuildBlocks(std::uint32_t xstep) {
    m_blocks = xstep <= 256 ? m_width / kLanes : 0;
    m_blockColumns.resize(static_cast<std::size_t>(m_blocks));
    m_blockOffsets.resize(static_cast<std::size_t>(m_blocks));
    for (int k = 0; k < m_blocks; ++k) {
        const int first = k * kLanes;
        m_blockColumns[k] = m_columns[first];
        for (int lane = 0; lane < kLanes; ++lane) {
            m_blockOffsets[k].lane[lane] = m_columns[first + lane] - m_columns[first];
        }
    }
}

}  // namespace qzm
