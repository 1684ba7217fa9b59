// qzmtool: QZM videos on the command line.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "commands.h"

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  qzmtool encode INPUT... -o OUT.qzm [--delay D] [--name NAME] [--title TEXT] [--author TEXT]\n"
    "                 [--version 0-7] [--dither none|ordered|diffusion] [--threshold 0-64]\n"
    "      codes one video, or pictures taken as one frame each, as a QZM video; Spectrum\n"
    "      screens (.scr, 6912 bytes) are taken as they are\n"
    "  qzmtool export FILE --out DIR|- [--from N] [--count K] [--format ppm|png|scr|bgra|rgb24]\n"
    "                 [--size WxH] [--filter 0-3] [--video N]\n"
    "      decodes the video and writes each frame as DIR/frame-NNNNN.EXT, or raw to stdout (-)\n"
    "  qzmtool info FILE [--video N]\n"
    "      prints what the video's header says\n"
    "  qzmtool list FILE\n"
    "      lists the videos in the file: number, name, byte offset\n"
    "  qzmtool pack OUT.trd|OUT.scl VIDEO.qzm...\n"
    "      puts the videos on a TR-DOS disk image or an SCL archive, named as their headers say\n"
    "\n"
    "FILE is a .qzm stream, or a .trd or .scl disk image; --video N picks its Nth video (default 1).\n";

}  // namespace

namespace qzm::tool {

void Complain(const std::string& text) {
    std::fprintf(stderr, "qzmtool: %s\n", text.c_str());
}

}  // namespace qzm::tool

int main(int argc, char** argv) {
    using namespace qzm::tool;
    if (argc < 2) {
        Complain("no command given");
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    const std::string command = argv[1];
    const std::vector<std::string> words(argv + 2, argv + argc);
    if (command == "encode") {
        return RunEncode(words);
    }
    if (command == "export") {
        return RunExport(words);
    }
    if (command == "info") {
        return RunInfo(words);
    }
    if (command == "list") {
        return RunList(words);
    }
    if (command == "pack") {
        return RunPack(words);
    }
    Complain("unknown command '" + command + "'");
    std::fputs(kUsage, stderr);
    return kExitUsage;
}
