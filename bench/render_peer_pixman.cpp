// pixman's bilinear scaling of the same picture, as a user would pick it instead. Built only where
// pixman's development package is installed.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <vector>

#include "render_bench_support.h"

namespace qzm::bench {
namespace {

void PixmanBilinear(benchmark::State& state, OutputSize size) {
    std::vector<std::uint32_t> source = DemoPixels();
    std::vector<std::uint32_t> target(static_cast<std::size_t>(size.width) * size.height);
    pixman_image_t* src =
        pixman_image_create_bits(PIXMAN_x8r8g8b8, 256, 192, source.data(), 256 * sizeof(std::uint32_t));
    pixman_image_t* dst = pixman_image_create_bits(PIXMAN_x8r8g8b8, size.width, size.height, target.data(),
                                                   size.width * static_cast<int>(sizeof(std::uint32_t)));
    // The transform maps destination coordinates to source coordinates.
    pixman_transform_t transform;
    pixman_transform_init_scale(&transform, pixman_double_to_fixed(256.0 / size.width),
                                pixman_double_to_fixed(192.0 / size.height));
    pixman_image_set_transform(src, &transform);
    pixman_image_set_filter(src, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    pixman_image_set_repeat(src, PIXMAN_REPEAT_PAD);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, src, nullptr, dst, 0, 0, 0, 0, 0, 0, size.width, size.height);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    pixman_image_unref(dst);
    pixman_image_unref(src);
    state.SetItemsProcessed(state.iterations() * size.width * size.height);
}

void Register() {
    for (const OutputSize size : kOutputSizes) {
        benchmark::RegisterBenchmark(("BM_PixmanBilinear/" + SizeName(size)).c_str(), PixmanBilinear, size)
            ->Unit(benchmark::kMicrosecond);
    }
}

const bool kRegistered = (Register(), true);

}  // namespace
}  // namespace qzm::bench
