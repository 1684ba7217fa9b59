// Feeds arbitrary bytes to the player as a stream and decodes every frame, without the seek replays
// of fuzz_decoder and from short seed streams, so that a run of the same length tries many more
// inputs.
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "fuzz_support.h"
#include "stream_player.h"
#include "stream_seeds.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qzm;
    // One player for the whole run: building one renders a whole picture, and StartStream resets
    // everything a stream depends on (header, position, screen, palette, mode, kept decoder state).
    static fuzzing::QuietHost host;
    static CStreamPlayer player(host);
    if (player.StartStream(data, size) == 0) {
        return 0;
    }
    // The start showed the first frame; the rest are decoded without showing them, as a seek does.
    while (player.DecodeFrame(false) == 1) {
        if (player.ReadOffset() > size) {
            __builtin_trap();
        }
    }
    if (player.State() != PlayerState::Ended || player.CurrentFrame() != kNoFrame) {
        __builtin_trap();
    }
    return 0;
}

void WriteSeeds(const std::filesystem::path& dir) {
    qzm::fuzzing::WriteStreamSeeds(dir, qzm::fuzzing::SeedStreams::Short);
}
