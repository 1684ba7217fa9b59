// The AVX2 forms of the row kernels. They are compiled for AVX2 function by function, so the rest of
// the program still runs on processors without it; the renderers call them only where
// KernelSupported(RenderKernel::Avx2) holds.
#include "row_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

namespace qzm {

namespace {

__attribute__((target("avx2"))) __m256i LoadUnaligned(const void* p) {
    return _mm256_loadu_si256(static_cast<const __m256i*>(p));
}

__attribute__((target("avx2"))) __m256i LoadAligned(const void* p) {
    return _mm256_load_si256(static_cast<const __m256i*>(p));
}

__attribute__((target("avx2"))) void StoreUnaligned(void* p, __m256i value) {
    _mm256_storeu_si256(static_cast<__m256i*>(p), value);
}

}  // namespace

// Eight colour numbers at a time become eight pixels: a permute of the 8-entry colour table by them
// (the permute reads only the low three bits of each lane, which masks them to 0-7).
__attribute__((target("avx2"))) void FillRowColoursAvx2(const std::uint8_t* sourceRow,
                                                        const ColourTable& colours, RowColours& row) {
    const __m256i palette = LoadUnaligned(colours.data());
    for (int c = 0; c < kImageWidth; c += kLanes) {
        const __m128i numbers = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(sourceRow + c));
        _mm256_store_si256(reinterpret_cast<__m256i*>(row.pixel.data() + c),
                           _mm256_permutevar8x32_epi32(palette, _mm256_cvtepu8_epi32(numbers)));
    }
}

// While a step spans at most one source column, eight consecutive output pixels sample at most
// eight consecutive source columns: one load of the colours from the first one's column, permuted
// into place.
__attribute__((target("avx2"))) void NearestRowAvx2(const RowColours& row, const ColumnMap& map,
                                                    Pixel32* out) {
    const int blocks = map.Blocks();
    const std::uint32_t* first = map.BlockColumns();
    const PermuteLanes* offsets = map.BlockOffsets();
    for (int k = 0; k < blocks; ++k) {
        const __m256i colours = LoadUnaligned(row.pixel.data() + first[k]);
        StoreUnaligned(out + k * kLanes,
                       _mm256_permutevar8x32_epi32(colours, LoadAligned(offsets[k].lane.data())));
    }
    const std::uint8_t* columns = map.Columns();
    for (int j = blocks * kLanes; j < map.Width(); ++j) {
        out[j] = row.pixel[columns[j]];
    }
}

namespace {

// Asks for the 256-byte table blocks of every run's code ahead of their use, so that the first
// pass over them does not wait on each in turn.
__attribute__((target("avx2"))) void PrefetchBlocks(const Pixel32* table, const RowCodeOffsets& codes,
                                                    const ColumnMap& map) {
    const std::uint32_t* columns = map.RunColumns();
    const int runs = map.FullRuns();
    for (int k = 0; k < runs; ++k) {
        const char* block = reinterpret_cast<const char*>(table + codes[columns[k]]);
        for (int line = 0; line < 256; line += 64) {
            _mm_prefetch(block + line, _MM_HINT_T1);
        }
    }
}

// The whole-register runs of two output rows at once, sharing each run's code and lanes.
__attribute__((target("avx2"))) void BlendRunsOfTwoRows(const Pixel32* table, const RowCodeOffsets& codes,
                                                        const ColumnMap& map, const BlendTarget& first,
                                                        const BlendTarget& second) {
    const std::uint32_t* starts = map.RunStarts();
    const std::uint32_t* columns = map.RunColumns();
    const PermuteLanes* eighths = map.RunEighths();
    const Pixel32* rowA = table + first.eighthOffset;
    const Pixel32* rowB = table + second.eighthOffset;
    Pixel32* outA = first.out;
    Pixel32* outB = second.out;
    const int runs = map.FullRuns();
    for (int k = 0; k < runs; ++k) {
        const std::uint32_t code = codes[columns[k]];
        const std::uint32_t start = starts[k];
        const __m256i lanes = LoadAligned(eighths[k].lane.data());
        const __m256i a = _mm256_permutevar8x32_epi32(LoadAligned(rowA + code), lanes);
        const __m256i b = _mm256_permutevar8x32_epi32(LoadAligned(rowB + code), lanes);
        StoreUnaligned(outA + start, a);
        StoreUnaligned(outB + start, b);
    }
}

__attribute__((target("avx2"))) void BlendRunsOfOneRow(const Pixel32* table, const RowCodeOffsets& codes,
                                                       const ColumnMap& map, const BlendTarget& target) {
    const std::uint32_t* starts = map.RunStarts();
    const std::uint32_t* columns = map.RunColumns();
    const PermuteLanes* eighths = map.RunEighths();
    const Pixel32* row = table + target.eighthOffset;
    Pixel32* out = target.out;
    const int runs = map.FullRuns();
    for (int k = 0; k < runs; ++k) {
        const __m256i lanes = LoadAligned(eighths[k].lane.data());
        StoreUnaligned(out + starts[k],
                       _mm256_permutevar8x32_epi32(LoadAligned(row + codes[columns[k]]), lanes));
    }
}

}  // namespace

// For one source column and one vertical eighth, the 8 BlendTable entries of its code (one per
// horizontal eighth) are one aligned 32-byte load; the output pixels of that column are those
// entries permuted by their eighths. Runs are stored whole, in order, so each store's excess lanes
// are overwritten by the next run; the last pixels of a row, where a whole store would reach past
// it, are written one by one. Rows go two at a time, which halves the loads of codes and lanes.
__attribute__((target("avx2"))) void BlendRowsAvx2(const Pixel32* table, const RowCodeOffsets& codes,
                                                   const ColumnMap& map, const BlendTarget* targets,
                                                   int count) {
    PrefetchBlocks(table, codes, map);
    int t = 0;
    for (; t + 1 < count; t += 2) {
        BlendRunsOfTwoRows(table, codes, map, targets[t], targets[t + 1]);
    }
    if (t < count) {
        BlendRunsOfOneRow(table, codes, map, targets[t]);
    }
    const std::uint8_t* columns = map.Columns();
    const std::uint8_t* eighths = map.Eighths();
    for (int target = 0; target < count; ++target) {
        const Pixel32* row = table + targets[target].eighthOffset;
        Pixel32* out = targets[target].out;
        const int width = map.Width();
        for (int j = map.TailStart(); j < width; ++j) {
            out[j] = row[codes[columns[j]] + eighths[j]];
        }
    }
}

__attribute__((target("avx2"))) void StreamRowAvx2(const Pixel32* from, Pixel32* to, int width) {
    for (int j = 0; j < width; j += kLanes) {
        _mm256_stream_si256(reinterpret_cast<__m256i*>(to + j), LoadUnaligned(from + j));
    }
}

void StreamFence() {
    _mm_sfence();
}

}  // namespace qzm

#else

namespace qzm {

// Without x86 the AVX2 kernel is never supported, so these are never called; they exist only so
// that every build links.
void FillRowColoursAvx2(const std::uint8_t* sourceRow, const ColourTable& colours, RowColours& row) {
    FillRowColoursPortable(sourceRow, colours, row);
}
void NearestRowAvx2(const RowColours& row, const ColumnMap& map, Pixel32* out) {
    NearestRowPortable(row, map, out);
}
void BlendRowsAvx2(const Pixel32* table, const RowCodeOffsets& codes, const ColumnMap& map,
                   const BlendTarget* targets, int count) {
    BlendRowsPortable(table, codes, map, targets, count);
}
void StreamRowAvx2(const Pixel32* from, Pixel32* to, int width) {
    std::copy(from, from + width, to);
}
void StreamFence() {}

}  // namespace qzm

#endif
