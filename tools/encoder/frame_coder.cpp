#include "frame_coder.h"

#include <algorithm>
#include <limits>

namespace qzm::encoder {
namespace {

constexpr std::size_t kCells = kCellCount;
constexpr std::uint32_t kUnreachable = std::numeric_limits<std::uint32_t>::max() / 2;
constexpr unsigned kMaxRunCells = 255;  // count of CmdLiteralRun / CmdMaskedRun
constexpr unsigned kMaxRepeat = 256;    // count of CmdFullScreen runs and LSCREEN entries (0 = 256)
constexpr int kRunCommandBytes = 3;     // 0xFF, command, count

constexpr std::size_t CellAddress(std::size_t cell) {
    return (cell / 256) * 2048 + cell % 256;
}

void PutCommand(ByteSink& out, std::uint8_t command) {
    out.Put(kItemCommand);
    out.Put(command);
}

void PutMasked(ByteSink& out, const MaskedCell& cell) {
    out.Put(cell.bytes.data(), cell.size);
}

}  // namespace

MaskedCell EncodeMasked(const std::array<std::uint8_t, 8>& lines) {
    MaskedCell out;
    out.size = 1;
    std::uint8_t above = 0;
    std::uint8_t difference = 0;
    for (int k = 0; k < kCellLines; ++k) {
        const auto d = static_cast<std::uint8_t>(lines[static_cast<std::size_t>(k)] ^ above);
        if (d != difference) {
            out.bytes[0] = static_cast<std::uint8_t>(out.bytes[0] | (1u << k));
            out.bytes[out.size++] = d;
            difference = d;
        }
        above = lines[static_cast<std::size_t>(k)];
    }
    return out;
}

FrameCoder::FrameCoder() {
    m_changed.reserve(kCells);
    m_steps.resize(kCells);
    m_back.resize(kCells);
    m_entries.reserve(2 * kCells);
    m_attributeEntries.reserve(2 * kAttributeBytes);
}

void FrameCoder::Prepare(const Screen& before, const Screen& after) {
    m_after = &after;
    m_attributesBefore = before.data() + kBitmapBytes;
    m_changed.clear();
    for (std::size_t cell = 0; cell < kCells; ++cell) {
        const std::size_t at = CellAddress(cell);
        Lines now{};
        Lines was{};
        Lines difference{};
        for (std::size_t k = 0; k < 8; ++k) {
            now[k] = after[at + k * kCellLineStride];
            was[k] = before[at + k * kCellLineStride];
            difference[k] = static_cast<std::uint8_t>(now[k] ^ was[k]);
        }
        m_lines[cell] = now;
        m_masked[cell] = EncodeMasked(now);
        m_xorMasked[cell] = EncodeMasked(difference);
        if (now != was) {
            m_changed.push_back(static_cast<int>(cell));
        }
    }
    m_same[kCells - 1] = 1;
    for (std::size_t cell = kCells - 1; cell-- > 0;) {
        m_same[cell] = m_lines[cell] == m_lines[cell + 1]
                           ? static_cast<std::uint16_t>(std::min<unsigned>(m_same[cell + 1] + 1u, kMaxRepeat))
                           : 1;
    }
    m_lastAttribute = -1;
    for (int a = static_cast<int>(kAttributeBytes) - 1; a >= 0; --a) {
        const auto at = kBitmapBytes + static_cast<std::size_t>(a);
        if (before[at] != after[at]) {
            m_lastAttribute = a;
            break;
        }
    }
}

// The changed cells as default items or as literal / masked runs, whichever is smallest, found by
// a dynamic programme over the changed cells. A run starts at the cell address reached; it may
// carry unchanged cells between two changes, rewriting them, where that is cheaper than items.
std::size_t FrameCoder::Items(bool masked, bool xorOnto, ByteSink& out) {
    const std::size_t start = out.Count();
    const auto itemCost = [&](int cell) {
        return masked ? MaskedData(cell, xorOnto).size : std::uint32_t{8};
    };
    std::array<std::uint32_t, kCells + 1> maskedPrefix;  // masked-run bytes of cells before i
    maskedPrefix[0] = 0;
    for (std::size_t i = 0; i < kCells; ++i) {
        maskedPrefix[i + 1] = maskedPrefix[i] + MaskedData(static_cast<int>(i), xorOnto).size;
    }
    const auto runBytes = [&](int type, int from, int to) {  // cells [from, to)
        return type == 1 ? 8u * static_cast<std::uint32_t>(to - from)
                         : maskedPrefix[static_cast<std::size_t>(to)] -
                               maskedPrefix[static_cast<std::size_t>(from)];
    };

    // cost[s] after the k-th changed cell in state s (0 item, 1 literal run, 2 masked run).
    std::array<std::uint32_t, 3> cost{0, kUnreachable, kUnreachable};
    auto& back = m_back;
    int cursor = 0;
    for (std::size_t k = 0; k < m_changed.size(); ++k) {
        const int cell = m_changed[k];
        const auto gap = static_cast<std::uint32_t>(cell - cursor);
        const auto best =
            static_cast<std::uint8_t>(std::min_element(cost.begin(), cost.end()) - cost.begin());
        std::array<std::uint32_t, 3> next{};
        next[0] = cost[best] + gap / kItemSkipOnlyCount + 1 + itemCost(cell);
        back[k][0] = {best, false};
        for (std::uint8_t type = 1; type <= 2; ++type) {
            const std::uint32_t body = runBytes(type, cursor, cell + 1);
            const std::uint32_t carry = cost[type] + body;
            const std::uint32_t open = cost[best] + kRunCommandBytes + body;
            next[type] = std::min(carry, open);
            back[k][type] = carry <= open ? ItemStep{type, false} : ItemStep{best, true};
        }
        cost = next;
        cursor = cell + 1;
    }

    // Walk back to the choice made at each changed cell, then write the items in order.
    auto state = static_cast<std::uint8_t>(std::min_element(cost.begin(), cost.end()) - cost.begin());
    for (std::size_t k = m_changed.size(); k-- > 0;) {
        const ItemStep step = back[k][state];
        m_steps[k] = {state, step.opens};
        state = step.state;
    }
    cursor = 0;
    int runType = 0;
    int runFirst = 0;
    for (std::size_t k = 0; k < m_changed.size(); ++k) {
        const int cell = m_changed[k];
        const ItemStep step = m_steps[k];
        if (runType != 0 && (step.state == 0 || step.opens)) {
            Run(runType, xorOnto, runFirst, cursor, out);
            runType = 0;
        }
        if (step.state == 0) {
            auto gap = static_cast<unsigned>(cell - cursor);
            for (; gap > kItemLastSkipWithCell; gap -= kItemSkipOnlyCount) {
                out.Put(kItemSkipOnly);
            }
            out.Put(static_cast<std::uint8_t>(gap));
            if (masked) {
                PutMasked(out, MaskedData(cell, xorOnto));
            } else {
                out.Put(m_lines[static_cast<std::size_t>(cell)].data(), 8);
            }
        } else if (runType == 0) {
            runType = step.state;
            runFirst = cursor;
        }
        cursor = cell + 1;
    }
    if (runType != 0) {
        Run(runType, xorOnto, runFirst, cursor, out);
    }
    PutCommand(out, CmdEndFrame);
    return out.Count() - start;
}

// Cells [first, end) as literal (type 1) or masked (type 2) run commands of up to 255 cells.
void FrameCoder::Run(int type, bool xorOnto, int first, int end, ByteSink& out) const {
    while (first < end) {
        const int count = std::min(end - first, static_cast<int>(kMaxRunCells));
        PutCommand(out, type == 1 ? CmdLiteralRun : CmdMaskedRun);
        out.Put(static_cast<std::uint8_t>(count));
        for (int cell = first; cell < first + count; ++cell) {
            if (type == 1) {
                out.Put(m_lines[static_cast<std::size_t>(cell)].data(), 8);
            } else {
                PutMasked(out, MaskedData(cell, xorOnto));
            }
        }
        first += count;
    }
}

// CmdFullScreen: identical neighbours as marked runs, the marker the first byte that the fewest
// single cells begin with.
std::size_t FrameCoder::FullScreen(ByteSink& out) {
    const std::size_t start = out.Count();
    std::array<int, 256> firstBytes{};
    for (std::size_t cell = 0; cell < kCells; cell += m_same[cell]) {
        if (m_same[cell] == 1) {
            ++firstBytes[m_lines[cell][0]];
        }
    }
    const auto marker = static_cast<std::uint8_t>(std::min_element(firstBytes.begin(), firstBytes.end()) -
                                                  firstBytes.begin());
    PutCommand(out, CmdFullScreen);
    out.Put(marker);
    for (std::size_t cell = 0; cell < kCells; cell += m_same[cell]) {
        if (m_same[cell] > 1 || m_lines[cell][0] == marker) {
            out.Put(marker);
            out.Put(static_cast<std::uint8_t>(m_same[cell] & 0xFF));
        }
        out.Put(m_lines[cell].data(), 8);
    }
    return out.Count() - start;
}

}  // namespace qzm::encoder
