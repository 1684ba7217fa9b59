// Decoding, conversion and seeking, each against a baseline measured in the same run.
#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <random>
#include <vector>

#include "allocation_counter.h"
#include "demo_scene.h"
#include "ratio_report.h"
#include "screen_convert.h"
#include "stream_player.h"

namespace {

using namespace qzm;

class NullHost : public IPlayerHost {
public:
    void ShowMessage(std::string_view) override {}
    int ChooseVideo(std::span<const std::string>) override { return -1; }
};

constexpr int kLongStreamFrames = 65000;

// 65,000 frames of the demo scene in every form: literal, masked, XOR, packed with attributes,
// LSCREEN and full-screen frames. Built once.
const std::vector<std::uint8_t>& LongStream() {
    static const std::vector<std::uint8_t> stream = [] {
        testing::DemoStreamOptions options;
        options.frames = kLongStreamFrames;
        return testing::BuildDemoStream(options);
    }();
    return stream;
}

// Decodes the whole stream per iteration, converting every frame as the window would.
void BM_DecodeStream(benchmark::State& state) {
    const auto& stream = LongStream();
    NullHost host;
    CStreamPlayer player(host);
    long frames = 0;
    long allocations = 0;
    for (auto _ : state) {
        player.StartStream(stream.data(), stream.size());
        const long before = testing::g_allocations.load();
        while (player.DecodeFrame(true) == 1) {
        }
        allocations += testing::g_allocations.load() - before;
        frames += kLongStreamFrames;
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.counters["allocs/frame"] = static_cast<double>(allocations) / static_cast<double>(frames);
    state.SetBytesProcessed(static_cast<long>(state.iterations()) * static_cast<long>(stream.size()));
}

// The baseline: copying the same bytes once.
void BM_MemcpyStream(benchmark::State& state) {
    const auto& stream = LongStream();
    std::vector<std::uint8_t> copy(stream.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), stream.data(), stream.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<long>(state.iterations()) * static_cast<long>(stream.size()));
}

void BM_ScreenToIndexed(benchmark::State& state) {
    std::array<std::uint8_t, kScreenBytes> screen{};
    std::mt19937 random(7);
    for (auto& b : screen) {
        b = static_cast<std::uint8_t>(random());
    }
    std::vector<std::uint8_t> image(kIndexedImageBytes);
    for (auto _ : state) {
        ScreenToIndexed(screen, image.data());
        benchmark::ClobberMemory();
    }
}

// The baseline: copying the 49152 bytes the conversion writes.
void BM_MemcpyImage(benchmark::State& state) {
    std::vector<std::uint8_t> from(kImagePixels, 1);
    std::vector<std::uint8_t> to(kImagePixels);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kImagePixels);
        benchmark::ClobberMemory();
    }
}

// Seeks to random positions of the long stream once its whole length has been decoded, as after
// dragging the slider across it.
void BM_SeekRandom(benchmark::State& state) {
    const auto& stream = LongStream();
    NullHost host;
    CStreamPlayer player(host);
    player.StartStream(stream.data(), stream.size());
    player.Seek(kLongStreamFrames);
    std::mt19937 random(99);
    std::uniform_int_distribution<int> position(1, kLongStreamFrames);
    for (auto _ : state) {
        player.Seek(position(random));
    }
}

// One step of a slider drag: the next position.
void BM_SeekNextPosition(benchmark::State& state) {
    const auto& stream = LongStream();
    NullHost host;
    CStreamPlayer player(host);
    player.StartStream(stream.data(), stream.size());
    int n = 1;
    for (auto _ : state) {
        n = n % kLongStreamFrames + 1;
        player.Seek(n);
    }
}

// The unit a seek is measured in: decoding one frame of the same stream, shown.
void BM_DecodeOneFrame(benchmark::State& state) {
    const auto& stream = LongStream();
    NullHost host;
    CStreamPlayer player(host);
    player.StartStream(stream.data(), stream.size());
    for (auto _ : state) {
        if (player.DecodeFrame(true) == 0) {
            state.PauseTiming();
            player.Rewind();
            state.ResumeTiming();
        }
    }
}

BENCHMARK(BM_DecodeStream)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyStream)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScreenToIndexed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemcpyImage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeOneFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SeekRandom)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SeekNextPosition)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return qzm::bench::RunWithRatios(
        argc, argv,
        {
            {"decode + convert 65000 frames / memcpy", "BM_DecodeStream", "BM_MemcpyStream"},
            {"ScreenToIndexed / memcpy of 49152 bytes", "BM_ScreenToIndexed", "BM_MemcpyImage"},
            {"random seek / decoding one frame", "BM_SeekRandom", "BM_DecodeOneFrame", 300},
            {"next-position seek / decoding one frame", "BM_SeekNextPosition", "BM_DecodeOneFrame", 2},
        });
}
