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

// Nine rows: file name, version, clip title, author, frames, frame rate, duration, size in blocks,
// bit rate. A frame delay of 0 gives no frame rate: that row reads "n/a (delay 0)".
std::array<InfoRow, 9> FileInformation(const StreamHeader& header);

}  // namespace qzm
