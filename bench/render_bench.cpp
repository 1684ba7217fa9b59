// The renderers against the limit of writing their output once (memset), at the display sizes that
// matter, and the cost of building a BlendTable.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "aligned_array.h"
#include "blend_renderer.h"
#include "nearest_renderer.h"
#include "render_bench_support.h"

namespace qzm::bench {
namespace {

void SetPixelCounters(benchmark::State& state, OutputSize size) {
    const auto pixels = static_cast<std::int64_t>(size.width) * size.height;
    state.SetItemsProcessed(state.iterations() * pixels);
    state.SetBytesProcessed(state.iterations() * pixels * 4);
}

void Memset(benchmark::State& state, OutputSize size) {
    const std::size_t bytes = static_cast<std::size_t>(size.width) * size.height * sizeof(Pixel32);
    AlignedArray<Pixel32> buffer(static_cast<std::size_t>(size.width) * size.height);
    std::memset(buffer.data(), 0, bytes);
    int fill = 0;
    for (auto _ : state) {
        std::memset(buffer.data(), ++fill & 0xFF, bytes);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    SetPixelCounters(state, size);
}

void ScaleImage(benchmark::State& state, const std::vector<std::uint8_t>& image, int filter,
                OutputSize size) {
    const std::unique_ptr<CRenderer> renderer = CreateRenderer(filter);
    renderer->Render(image.data(), size.width, size.height, 0, 0);
    for (auto _ : state) {
        renderer->Render(image.data(), size.width, size.height, 0, 0);
        benchmark::DoNotOptimize(renderer->Pixels());
        benchmark::ClobberMemory();
    }
    SetPixelCounters(state, size);
}

void Scale(benchmark::State& state, int filter, OutputSize size) {
    ScaleImage(state, DemoImage(), filter, size);
}

void ScaleNoise(benchmark::State& state, int filter, OutputSize size) {
    ScaleImage(state, NoiseImage(), filter, size);
}

void BuildTables(benchmark::State& state, int filter) {
    std::unique_ptr<CRenderer> renderer = CreateRenderer(filter);
    auto& blend = static_cast<CBlendRenderer&>(*renderer);
    blend.BuildBlendTables();
    for (auto _ : state) {
        blend.BuildBlendTables();
        benchmark::DoNotOptimize(blend.BlendTable().data());
        benchmark::ClobberMemory();
    }
}

void Register() {
    for (const OutputSize size : kOutputSizes) {
        const std::string name = SizeName(size);
        benchmark::RegisterBenchmark(("BM_Memset/" + name).c_str(), Memset, size)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("BM_Nearest/" + name).c_str(), Scale, FilterNearest, size)
            ->Unit(benchmark::kMicrosecond);
        for (int filter = FilterBilinear; filter <= FilterBicubic; ++filter) {
            benchmark::RegisterBenchmark(("BM_Blend/" + std::to_string(filter) + "/" + name).c_str(), Scale,
                                         filter, size)
                ->Unit(benchmark::kMicrosecond);
        }
        benchmark::RegisterBenchmark(("BM_BlendNoise/1/" + name).c_str(), ScaleNoise, FilterBilinear, size)
            ->Unit(benchmark::kMicrosecond);
    }
    for (int filter = FilterBilinear; filter <= FilterBicubic; ++filter) {
        benchmark::RegisterBenchmark(("BM_BuildBlendTables/" + std::to_string(filter)).c_str(), BuildTables,
                                     filter)
            ->Unit(benchmark::kMicrosecond);
    }
}

const bool kRegistered = (Register(), true);

}  // namespace
}  // namespace qzm::bench
