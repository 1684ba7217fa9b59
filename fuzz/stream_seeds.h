// The seed corpus of the stream fuzz targets: streams of every frame form, version 0/1 headers, and
// some malformed pieces.
#pragma once

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "coded_frames.h"
#include "demo_scene.h"
#include "fuzz_support.h"
#include "qzm_format.h"
#include "stream_builder.h"

namespace qzm::fuzzing {

// How long the streams among the seeds are. Seeking needs streams of many frames (up to 26 KB);
// plain decoding needs every form once, which small edits show in under 1 KB. libFuzzer keeps its
// inputs near the length of the longest seed at first and lets them grow only as new coverage dries
// up, so short seeds make a decoding target try many more inputs in the same time.
enum class SeedStreams { Short, Long };

// One frame in each form, in an order the modes allow (they only ever switch on). Every frame edits
// a run of five neighbouring cells (coded as a run) and two lone cells near the top, so each form
// stays short; the first frame, LSCREEN, and the last, packed, also change attributes.
inline std::vector<std::uint8_t> EveryFormStream(std::uint8_t version) {
    using encoder::BitmapOffset;
    using testing::FrameForm;
    constexpr FrameForm kForms[] = {FrameForm::LScreen, FrameForm::FullScreen, FrameForm::Literal,
                                    FrameForm::Masked,  FrameForm::MaskedXor,  FrameForm::LScreen,
                                    FrameForm::Packed,  FrameForm::Packed};
    constexpr int kFrames = static_cast<int>(std::size(kForms));
    testing::StreamBuilder out;
    out.Header({.version = version, .frameCount = kFrames});
    testing::FormWriter writer(out, kWhiteOnBlack);
    encoder::Screen screen{};
    std::fill(screen.begin() + kBitmapBytes, screen.end(), kWhiteOnBlack);
    for (int f = 0; f < kFrames; ++f) {
        for (int cell : {8 * f, 8 * f + 1, 8 * f + 2, 8 * f + 3, 8 * f + 4, 70 + 3 * f, 100 + f}) {
            for (int line = 0; line < kCellLines; ++line) {
                screen[BitmapOffset(cell / 32 * 8 + line, cell % 32)] =
                    static_cast<std::uint8_t>(0x11 * (f + 1) + (line & 3) * 0x40);
            }
        }
        if (f == 0 || f == kFrames - 1) {
            for (int cell = 0; cell < 8; ++cell) {
                screen[kBitmapBytes + cell] =
                    static_cast<std::uint8_t>((8 * f + cell + 1) & kDefaultAttributeBits);
            }
        }
        if (!writer.Write(screen, kForms[f])) {
            std::abort();  // the edits changed so that a form no longer fits where it stands
        }
    }
    writer.EndStream();
    return out.Take();
}

inline void WriteStreamSeeds(const std::filesystem::path& dir, SeedStreams streams) {
    using testing::BuildDemoStream;
    using testing::DemoStreamOptions;
    using testing::StreamBuilder;
    if (streams == SeedStreams::Long) {
        for (int frames : {1, 3, 12, 30}) {
            DemoStreamOptions options;
            options.frames = frames;
            WriteSeed(dir, "demo-" + std::to_string(frames), BuildDemoStream(options));
        }
        DemoStreamOptions legacy;
        legacy.frames = 20;
        legacy.version = 1;
        WriteSeed(dir, "demo-version1", BuildDemoStream(legacy));
    } else {
        WriteSeed(dir, "every-form-version1", EveryFormStream(1));
    }
    WriteSeed(dir, "every-form", EveryFormStream(2));

    StreamBuilder wrong;
    wrong.Header({.frameCount = 3});
    wrong.Command(0x0C).Bytes({1, 2, 3, 4, 5, 6, 7, 8}).EndFrame();
    wrong.LScreen().Bytes({7, 1, 2, 0x00}).LsEnd();
    wrong.SetModes(6).Bytes({0x01, 0x00, 0x00, 0xFF, 1, 1, 1, 1, 1, 1, 1, 1, 0x81}).PackedEndFrame();
    WriteSeed(dir, "messages", wrong.Take());

    StreamBuilder past;
    past.Header({.frameCount = 2});
    past.Skip254().Skip254().Skip254().Skip254().EndFrame();
    WriteSeed(dir, "past-the-end", past.Take());
}

}  // namespace qzm::fuzzing
