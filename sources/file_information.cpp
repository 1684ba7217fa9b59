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

}  // namespace

InfoFigures InformationFigures(const StreamHeader& header) {
    const int delay = header.FrameDelay();
    // A delay of 0 plays as 1, as the timer and the time counter take it.
    const int ticks = (delay == 0 ? 1 : delay) * header.FrameCount();
    const int blocks = static_cast<int>(header.BlockCount());
    InfoFigures figures;
    if (delay != 0) {
        figures.frameRate = Format("%.2f", static_cast<double>(kTicksPerSecond) / delay);
    }
    figures.minutes = ticks / kTicksPerMinute;
    figures.seconds = ticks % kTicksPerMinute / kTicksPerSecond;
    figures.ticks = ticks % kTicksPerSecond;
    figures.blocks = blocks;
    figures.kilobytes = Format("%.1f", blocks / 4.0);
    figures.bytesPerSecond = blocks * kBlockBytes * kTicksPerSecond / (ticks == 0 ? 1 : ticks);
    return figures;
}

std::array<InfoRow, 9> FileInformation(const StreamHeader& header) {
    const InfoFigures f = InformationFigures(header);
    return {{
        {"Filename:", WindowsTextToUtf8(header.Name())},
        {"Version:", Format("%i", int{header.Version()})},
        {"Clip:", DosTextToUtf8(header.Title())},
        {"Author:", DosTextToUtf8(header.Author())},
        {"Frames:", Format("%i", header.FrameCount())},
        {"Framerate:", f.frameRate.empty() ? "n/a (delay 0)" : f.frameRate + " fps"},
        {"Duration:", Format("%i min  %i sec  %i frm", f.minutes, f.seconds, f.ticks)},
        {"Filesize:", Format("%i blocks (%s kbytes)", f.blocks, f.kilobytes.c_str())},
        {"Bitrate:", Format("%i bytes/sec", f.bytesPerSecond)},
    }};
}

}  // namespace qzm
