// qzmtool: QZM videos on the command line.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "commands.h"

namespace {

constexpr const char* kUsage = "usage:\n"
                               "  qzmtool export FILE --out DIR [--from N] [--count K] [--format ppm|png]\n"
                               "                 [--size WxH] [--filter 0-3] [--video N]\n"
                               "      decodes the video and writes each frame as DIR/frame-NNNNN.EXT\n";

}  // namespace

namespace qzm::tool {

void Complain(const std::string& text) {
    std::fprintf(stderr, "qzmtool: %s\n", text.c_str());
}

}  // namespace qzm::tool

int main(int argc, char** argv) {
    using namespace qzm::tool;
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? kExitUsage : kExitOk;
    }
    const std::string command = argv[1];
    const std::vector<std::string> words(argv + 2, argv + argc);
    if (command == "export") {
        return RunExport(words);
    }
    Complain("unknown command '" + command + "'");
    std::fputs(kUsage, stderr);
    return kExitUsage;
}
