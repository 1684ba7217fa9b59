// swscale's bicubic scaling of the same picture, as a user would pick it instead. Built only where
// swscale's development package is installed.
#include <benchmark/benchmark.h>

extern "C" {
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

#include <vector>

#include "render_bench_support.h"

namespace qzm::bench {
namespace {

void SwscaleBicubic(benchmark::State& state, OutputSize size) {
    std::vector<std::uint32_t> source = DemoPixels();
    std::vector<std::uint32_t> target(static_cast<std::size_t>(size.width) * size.height);
    SwsContext* context = sws_getContext(256, 192, AV_PIX_FMT_BGRA, size.width, size.height, AV_PIX_FMT_BGRA,
                                         SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (context == nullptr) {
        state.SkipWithError("sws_getContext failed");
        return;
    }
    const std::uint8_t* srcPlanes[1] = {reinterpret_cast<const std::uint8_t*>(source.data())};
    const int srcStrides[1] = {256 * 4};
    std::uint8_t* dstPlanes[1] = {reinterpret_cast<std::uint8_t*>(target.data())};
    const int dstStrides[1] = {size.width * 4};
    for (auto _ : state) {
        sws_scale(context, srcPlanes, srcStrides, 0, 192, dstPlanes, dstStrides);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    sws_freeContext(context);
    state.SetItemsProcessed(state.iterations() * size.width * size.height);
}

void Register() {
    for (const OutputSize size : kOutputSizes) {
        benchmark::RegisterBenchmark(("BM_SwscaleBicubic/" + SizeName(size)).c_str(), SwscaleBicubic, size)
            ->Unit(benchmark::kMicrosecond);
    }
}

const bool kRegistered = (Register(), true);

}  // namespace
}  // namespace qzm::bench
