// Rendering allocates nothing once a renderer's frame buffer and tables exist for the sizes asked:
// every operator new of this program is counted.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "memory_paint_device.h"
#include "reference_render.h"
#include "renderer.h"

namespace {

std::atomic<long> g_allocations{0};
// Allocations of more bytes than this fail, as on a machine out of memory.
std::atomic<std::size_t> g_failAbove{SIZE_MAX};

void* Allocate(std::size_t size, std::size_t alignment) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (size > g_failAbove.load(std::memory_order_relaxed)) {
        throw std::bad_alloc();
    }
    if (size == 0) {
        size = 1;
    }
    void* p = alignment > alignof(std::max_align_t)
                  ? std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment)
                  : std::malloc(size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}

}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size, 0);
}
void* operator new[](std::size_t size) {
    return Allocate(size, 0);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return Allocate(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return Allocate(size, static_cast<std::size_t>(alignment));
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}

namespace qzm {
namespace {

using testing::TestImage;

class AllocationsOfFilter : public ::testing::TestWithParam<int> {};

// After one output of the largest size, no other size within its width and pixel count allocates,
// whether seen before or not, with either kernel.
TEST_P(AllocationsOfFilter, NoSizeWithinTheLargestOneSeenAllocates) {
    const TestImage image = TestImage::Random(9);
    const std::unique_ptr<CRenderer> renderer = CreateRenderer(GetParam());
    renderer->Render(image.data(), 2560, 1920, 0, 0);
    const int sizes[][2] = {{1920, 1440}, {2049, 1537}, {640, 480}, {1, 1},    {2560, 10},
                            {2100, 1000}, {300, 2000},  {255, 17},  {2048, 1}, {2560, 1920}};
    for (const RenderKernel kernel : {RenderKernel::Portable, RenderKernel::Avx2}) {
        renderer->UseKernel(kernel);
        const long before = g_allocations.load();
        for (const auto& size : sizes) {
            renderer->Render(image.data(), size[0], size[1], 0, 0);
        }
        EXPECT_EQ(g_allocations.load() - before, 0) << "kernel " << static_cast<int>(kernel);
    }
}

// Outputs too large for the caches are made in scratch rows: these exist for every such size that
// fits what was seen, even one first seen after an output too wide or too odd to stream.
TEST_P(AllocationsOfFilter, StreamedSizesWithinTheLargestOneSeenAllocateNothing) {
    const TestImage image = TestImage::Random(13);
    const std::unique_ptr<CRenderer> renderer = CreateRenderer(GetParam());
    renderer->Render(image.data(), 4001, 2001, 0, 0);
    const long before = g_allocations.load();
    renderer->Render(image.data(), 4000, 2000, 0, 0);
    renderer->Render(image.data(), 3840, 2080, 0, 0);
    EXPECT_EQ(g_allocations.load() - before, 0);
    EXPECT_EQ(std::vector<Pixel32>(renderer->Pixels(), renderer->Pixels() + 3840 * 2080),
              GetParam() == FilterNearest
                  ? testing::ReferenceNearest(image.data(), 3840, 2080)
                  : testing::ReferenceBlend(image.data(), 3840, 2080, testing::CurveOfFilter(GetParam())));
}

TEST_P(AllocationsOfFilter, ALargerOutputGrowsTheBufferOnce) {
    const TestImage image = TestImage::Random(10);
    const std::unique_ptr<CRenderer> renderer = CreateRenderer(GetParam());
    renderer->Render(image.data(), 640, 480, 0, 0);
    const long before = g_allocations.load();
    renderer->Render(image.data(), 800, 600, 0, 0);
    const long growth = g_allocations.load() - before;
    EXPECT_GE(growth, 1);
    renderer->Render(image.data(), 800, 600, 0, 0);
    renderer->Render(image.data(), 640, 480, 0, 0);
    EXPECT_EQ(g_allocations.load() - before, growth);
}

TEST_P(AllocationsOfFilter, AFailedGrowthLeavesNothingToDraw) {
    const TestImage image = TestImage::Random(12);
    const std::unique_ptr<CRenderer> renderer = CreateRenderer(GetParam());
    renderer->Render(image.data(), 640, 480, 0, 0);
    g_failAbove = 1u << 20;
    EXPECT_THROW(renderer->Render(image.data(), 1280, 960, 0, 0), std::bad_alloc);
    g_failAbove = SIZE_MAX;
    testing::MemoryPaintDevice device;
    renderer->Blit(device);
    EXPECT_EQ(device.draws, 0);
    renderer->Render(image.data(), 1280, 960, 0, 0);
    renderer->Blit(device);
    EXPECT_EQ(device.draws, 1);
}

INSTANTIATE_TEST_SUITE_P(Filters, AllocationsOfFilter, ::testing::Values(0, 1, 2, 3),
                         testing::FilterParamName<::testing::TestParamInfo<int>>);

}  // namespace
}  // namespace qzm
