// Every renderer, with every kernel this processor runs, against the per-pixel reference at many
// sizes in turn on one renderer, as in a resized window: odd ones, ones below the native size where
// a step spans several source pixels, the native size, a full 4K screen (streamed into the frame
// buffer), one so wide that its step is zero, and smaller and larger ones again. Under
// AddressSanitizer a read past the image and its guard fails here too.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <span>
#include <vector>

#include "reference_render.h"
#include "renderer.h"

namespace qzm {
namespace {

using testing::TestImage;

struct Size {
    int width;
    int height;
};

constexpr Size kSizes[] = {
    {1, 1},       {1, 192},     {256, 1},    {2, 3},       {7, 5},       {100, 75},    {255, 191},
    {256, 192},   {257, 193},   {300, 225},  {384, 288},   {511, 383},   {512, 384},   {640, 480},
    {933, 700},   {1023, 767},  {1024, 768}, {1920, 1440}, {2047, 1535}, {2048, 1536}, {2049, 1537},
    {2500, 1900}, {3840, 2880}, {70000, 3},  {1600, 1200}, {300, 200},   {1601, 1199}, {17, 13},
};

class KernelsOfFilter : public ::testing::TestWithParam<int> {};

TEST_P(KernelsOfFilter, MatchTheReferenceAtEverySizeInTurn) {
    const std::unique_ptr<CRenderer> renderer = CreateRenderer(GetParam());
    EXPECT_EQ(renderer->Kernel(), BestKernel());
    std::vector<RenderKernel> kernels{RenderKernel::Portable};
    if (KernelSupported(RenderKernel::Avx2)) {
        kernels.push_back(RenderKernel::Avx2);
    }
    const TestImage images[] = {TestImage::Random(1), TestImage::Random(2)};
    for (const Size size : kSizes) {
        // A second image at the smaller sizes shows that nothing of the first one is kept.
        const std::size_t count = size.width * size.height <= 1024 * 768 ? 2 : 1;
        for (const TestImage& image : std::span<const TestImage>(images, count)) {
            const std::vector<Pixel32> expected =
                testing::Reference(GetParam(), image.data(), size.width, size.height);
            for (const RenderKernel kernel : kernels) {
                ASSERT_TRUE(renderer->UseKernel(kernel));
                renderer->Render(image.data(), size.width, size.height, 0, 0);
                const auto [want, got] = std::mismatch(expected.begin(), expected.end(), renderer->Pixels());
                if (want != expected.end()) {
                    const auto at = want - expected.begin();
                    ADD_FAILURE() << "kernel " << static_cast<int>(kernel) << " at " << size.width << "x"
                                  << size.height << ": pixel (" << at % size.width << ", " << at / size.width
                                  << " from the top) is " << std::hex << *got << ", expected " << *want;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Filters, KernelsOfFilter, ::testing::Values(0, 1, 2, 3),
                         testing::FilterParamName<::testing::TestParamInfo<int>>);

}  // namespace
}  // namespace qzm
