// How the output columns of one width sample the source columns. A renderer keeps one map, rebuilds
// it only when the width changes and reuses its storage, which grows to the widest output seen, so
// rendering at a width already seen allocates nothing.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace qzm {

// Eight 32-bit lane numbers for a permute of one 8-pixel register.
struct alignas(32) PermuteLanes {
    std::array<std::int32_t, 8> lane{};
};

inline constexpr int kLanes = 8;

class ColumnMap {
public:
    // Rebuilds the map for `width` (at least 1); does nothing when the width is unchanged.
    void Build(int width);
    int Width() const { return m_width; }

    // Per output pixel: its source column and its horizontal eighth.
    const std::uint8_t* Columns() const { return m_columns.data(); }
    const std::uint8_t* Eighths() const { return m_eighths.data(); }

    // Runs, for the interpolating renderers: the output pixels that sample one source column, cut
    // into pieces of at most 8. Run k covers output pixels RunStarts()[k] up to RunStarts()[k + 1]
    // (RunStarts()[Runs()] is the width), samples source column RunColumns()[k], and
    // RunEighths()[k] holds the eighths of its pixels in its first lanes. The first FullRuns() runs
    // may be written as whole 8-pixel stores in order, each store's excess being overwritten by the
    // runs after it; the pixels from TailStart() on are not covered by those stores.
    int Runs() const { return static_cast<int>(m_runColumns.size()); }
    const std::uint32_t* RunStarts() const { return m_runStarts.data(); }
    const std::uint32_t* RunColumns() const { return m_runColumns.data(); }
    const PermuteLanes* RunEighths() const { return m_runEighths.data(); }
    int FullRuns() const { return m_fullRuns; }
    int TailStart() const { return m_tailStart; }

    // Blocks, for the nearest renderer: output pixels 8k to 8k + 7 sample source columns
    // BlockColumns()[k] + BlockOffsets()[k].lane[0..7], each offset 0-7. Blocks exist only while a
    // step spans at most one source column (width 256 and more); otherwise Blocks() is 0. Pixels
    // from 8 * Blocks() on are not covered.
    int Blocks() const { return m_blocks; }
    const std::uint32_t* BlockColumns() const { return m_blockColumns.data(); }
    const PermuteLanes* BlockOffsets() const { return m_blockOffsets.data(); }

private:
    void BuildRuns();
    void BuildBlocks(std::uint32_t xstep);

    int m_width = 0;
    std::vector<std::uint8_t> m_columns;
    std::vector<std::uint8_t> m_eighths;
    std::vector<std::uint32_t> m_runStarts;
    std::vector<std::uint32_t> m_runColumns;
    std::vector<PermuteLanes> m_runEighths;
    int m_fullRuns = 0;
    int m_tailStart = 0;
    int m_blocks = 0;
    std::vector<std::uint32_t> m_blockColumns;
    std::vector<PermuteLanes> m_blockOffsets;
};

}  // namespace qzm
