// Writes the bundled demo video: make_demo OUT.qzm [FRAMES]
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "demo_scene.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: make_demo OUT.qzm [FRAMES]\n");
        return 2;
    }
    qzm::authoring::DemoStreamOptions options;
    options.frames = argc == 3 ? std::atoi(argv[2]) : 750;
    if (options.frames < 1 || options.frames > 65535) {
        std::fprintf(stderr, "make_demo: FRAMES is 1 to 65535\n");
        return 2;
    }
    const auto stream = qzm::authoring::BuildDemoStream(options);
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(stream.data()), static_cast<std::streamsize>(stream.size()));
    if (!out) {
        std::fprintf(stderr, "make_demo: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %d frames, %zu bytes\n", argv[1], options.frames, stream.size());
    return 0;
}
