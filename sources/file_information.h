// What a stream header says about its video, as the rows of the file information view.
#pragma once

#include <array>
#include <string>

#include "stream_header.h"

namespace qzm {

struct InfoRow {
    std::string label;
    std::string value;  // UTF-8
};

// The figures behind the rows from Framerate on, for a view that words them in its own language.
// Fractions are written as the rows write them, with a decimal point.
struct InfoFigures {
    std::string frameRate;  // frames per second, "16.67"; empty for a frame delay of 0
    int minutes = 0;        // the duration: minutes, seconds and frames (ticks of 1/50 s) left over
    int seconds = 0;
    int ticks = 0;
    int blocks = 0;         // the stream's size in blocks of 256 bytes
    std::string kilobytes;  // the same in kilobytes, "150.0"
    int bytesPerSecond = 0;
};

InfoFigures InformationFigures(const StreamHeader& header);

// Nine rows: file name, version, clip title, author, frames, frame rate, duration, size in blocks,
// bit rate. A frame delay of 0 gives no frame rate: that row reads "n/a (delay 0)".
std::array<InfoRow, 9> FileInformation(const StreamHeader& header);

}  // namespace qzm
