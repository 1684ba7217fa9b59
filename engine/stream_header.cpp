#include "stream_header.h"

namespace qzm {

StreamHeader StreamHeader::Empty() {
    StreamHeader h;
    h.bytes[kHeaderFrameDelay] = 1;
    return h;
}

unsigned StreamHeader::BlockCount() const {
    unsigned sum = 0;
    for (std::size_t i = kHeaderBlockList; i < kHeaderBytes && bytes[i] != 0; ++i) {
        sum += bytes[i];
    }
    return sum;
}

}  // namespace qzm
