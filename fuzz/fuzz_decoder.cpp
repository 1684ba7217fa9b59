// Feeds arbitrary bytes to the player as a stream and decodes every frame; then checks that seeks
// land exactly where a replay from the start lands. fuzz_decode does the decoding alone, faster.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "stream_player.h"
#include "stream_seeds.h"

namespace {

using qzm::CStreamPlayer;
using qzm::fuzzing::QuietHost;

bool SameState(const CStreamPlayer& a, const CStreamPlayer& b) {
    return a.CurrentFrame() == b.CurrentFrame() && a.ReadOffset() == b.ReadOffset() &&
           a.DecoderMode() == b.DecoderMode() &&
           std::memcmp(a.Screen().data(), b.Screen().data(), qzm::kScreenBytes) == 0 &&
           a.IndexedImage() == b.IndexedImage();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QuietHost host;
    CStreamPlayer player(host);
    // Most frames are decoded without display, as a seek does, to keep the fuzzer fast on streams
    // of many tiny frames; the shown ones are converted (the renderers' input is never the file's).
    if (player.StartStream(data, size) == 0) {
        return 0;
    }
    int frames = 1;
    while (player.DecodeFrame(frames % 64 == 0) == 1) {
        ++frames;
    }

    // Seeks to a few positions, each compared with a replay in a fresh player.
    const int count = player.Header().FrameCount();
    if (count == 0 || frames > 1000) {
        return 0;
    }
    const int targets[] = {frames / 2 + 1, frames + 1, count};
    for (int n : targets) {
        player.Seek(n);
        CStreamPlayer replay(host);
        replay.StartStream(data, size);
        const int target = std::clamp(n, 1, count);
        for (int f = 2; f <= target && replay.DecodeFrame(f == target) == 1; ++f) {
        }
        if (!SameState(player, replay)) {
            std::abort();
        }
    }
    return 0;
}

void WriteSeeds(const std::filesystem::path& dir) {
    qzm::fuzzing::WriteStreamSeeds(dir, qzm::fuzzing::SeedStreams::Long);
}
