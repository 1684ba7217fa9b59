#include "file_information.h"

#include <cstdio>

#include "dos_text.h"

namespace qzm {
namespace {

constexpr int kTicksPerSecond = 50;  // a tick is one Spectrum frame, 1/50 s
constexpr int kTicksPerMinute = 60 * kTicksPerSecond;
constexpr int kBlockBytes = 256;

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char text[64];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

std::string FrameRate(int delay) {
    if (delay == 0) {
        return "n/a (delay 0)";
    }
    return Format("%.2f fps", static_cast<double>(kTicksPerSecond) / delay);
}

}  // namespace

std::array<InfoRow, 9> FileInformation(const StreamHeader& header) {
    const int delay = header.FrameDelay();
    const int frames = header.FrameCount();
    // A delay of 0 plays as 1, as the timer and the time counter take it.
    const int ticks = (delay == 0 ? 1 : delay) * frames;
    const int blocks = static_cast<int>(header.BlockCount());
    const int bytesPerSecond = blocks * kBlockBytes * kTicksPerSecond / (ticks == 0 ? 1 : ticks);
    return {{
        {"Filename:", WindowsTextToUtf8(header.Name())},
        {"Version:", Format("%i", int{header.Version()})},
        {"Clip:", DosTextToUtf8(header.Title())},
        {"Author:", DosTextToUtf8(header.Author())},
        {"Frames:", Format("%i", frames)},
        {"Framerate:", FrameRate(delay)},
        {"Duration:", Format("%i min  %i sec  %i frm", ticks / kTicksPerMinute,
                             ticks % kTicksPerMinute / kTicksPerSecond, ticks % kTicksPerSecond)},
        {"Filesize:", Format("%i blocks (%.1f kbytes)", blocks, blocks / 4.0)},
        {"Bitrate:", Format("%i bytes/sec", bytesPerSecond)},
    }};
}

}  // namespace qzm
