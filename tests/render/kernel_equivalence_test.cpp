// Every renderer, with every kernel this processor runs, against the per-pixel reference at many
// sizes: odd ones, ones below the native size where a step spans several source pixels, the
// native size, a full 4K screen, and one so wide that its step is zero. Under AddressSanitizer a
// read past the image and its guard fails here too.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
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
    {1, 1},       {1, 192},     {256, 1},     {2, 3},       {7, 5},      {100, 75},
    {255, 191},   {256, 192},   {257, 193},   {300, 225},   {384, 288},  {511, 383},
    {512, 384},   {640, 480},   {933, 700},   {1023, 767},  {1024, 768}, {1920, 1440},
    {2047, 1535}, {2048, 1536}, {2049, 1537}, {2500, 1900}, {70000, 3},
};

constexpr Size kHuge{3840, 2880};

std::vector<RenderKernel> Kernels() {
    std::vector<RenderKernel> kernels{RenderKernel::Portable};
    if (KernelSupported(RenderKernel::Avx2)) {
        kernels.push_back(RenderKernel::Avx2);
    }
    return kernels;
}

const char* KernelName(RenderKernel kernel) {
    return kernel == RenderKernel::Avx2 ? "avx2" : "portable";
}

std::vector<Pixel32> Reference(int filter, const TestImage& image, Size size) {
    return filter == FilterNearest ? testing::ReferenceNearest(image.data(), size.width, size.height)
                                   : testing::ReferenceBlend(image.data(), size.width, size.height,
                                                             testing::CurveOfFilter(filter));
}

// Renders `image` at `size` with each kernel (one renderer, so sizes follow one another as in a
// resized window) and reports the first pixel that differs from the reference.
void ExpectMatchesReference(int filter, CRenderer& renderer, const TestImage& image, Size size) {
    const std::vector<Pixel32> expected = Reference(filter, image, size);
    for (const RenderKernel kernel : Kernels()) {
        ASSERT_TRUE(renderer.UseKernel(kernel));
        renderer.Render(image.data(), size.width, size.height, 0, 0);
        const auto mismatch = std::mismatch(expected.begin(), expected.end(), renderer.Pixels());
        if (mismatch.first != expected.end()) {
            const auto at = mismatch.first - expected.begin();
            ADD_FAILURE() << "filter " << filter << " kernel " << KernelName(kernel) << " at " << size.width
                          << "x" << size.height << ": pixel (" << at % size.width << ", " << at / size.width
                          << " from the top) is " << std::hex << *mismatch.second << ", expected "
                          << *mismatch.first;
        }
    }
}

class KernelsOfFilter : public ::testing::TestWithParam<int> {};

TEST_P(KernelsOfFilter, MatchTheReferenceAtEverySize) {
    const std::unique_ptr<CRenderer> renderer = CreateRenderer(GetParam());
    const TestImage first = TestImage::Random(1);
    const TestImage second = TestImage::Random(2);
    for (const Size size : kSizes) {
        ExpectMatchesReference(GetParam(), *renderer, first, size);
        if (size.width * size.height <= 1024 * 768) {
            ExpectMatchesReference(GetParam(), *renderer, second, size);
        }
    }
}

TEST_P(KernelsOfFilter, MatchTheReferenceAtA4KScreen) {
    const std::unique_ptr<CRenderer> renderer = CreateRenderer(GetParam());
    ExpectMatchesReference(GetParam(), *renderer, TestImage::Random(3), kHuge);
}

TEST_P(KernelsOfFilter, MatchTheReferenceWhenSizesShrinkAndGrowAgain) {
    const std::unique_ptr<CRenderer> renderer = CreateRenderer(GetParam());
    const TestImage image = TestImage::Random(4);
    for (const Size size :
         {Size{1600, 1200}, Size{300, 200}, Size{1601, 1199}, Size{17, 13}, Size{1600, 1200}}) {
        ExpectMatchesReference(GetParam(), *renderer, image, size);
    }
}

INSTANTIATE_TEST_SUITE_P(Filters, KernelsOfFilter, ::testing::Values(0, 1, 2, 3),
                         testing::FilterParamName<::testing::TestParamInfo<int>>);

}  // namespace
}  // namespace qzm
