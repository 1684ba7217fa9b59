// The seed corpus of the stream fuzz targets: short streams of every frame form, version 0/1
// headers, and some malformed pieces.
#pragma once

#include <filesystem>
#include <string>

#include "demo_scene.h"
#include "fuzz_support.h"
#include "stream_builder.h"

namespace qzm::fuzzing {

inline void WriteStreamSeeds(const std::filesystem::path& dir) {
    using authoring::BuildDemoStream;
    using authoring::DemoStreamOptions;
    using authoring::StreamBuilder;
    for (int frames : {1, 3, 12, 30}) {
        DemoStreamOptions options;
        options.frames = frames;
        WriteSeed(dir, "demo-" + std::to_string(frames), BuildDemoStream(options));
    }
    DemoStreamOptions legacy;
    legacy.frames = 20;
    legacy.version = 1;
    WriteSeed(dir, "demo-version1", BuildDemoStream(legacy));

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
