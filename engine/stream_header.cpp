#include "stream_header.h"

#include <algorithm>

#include "player_host.h"

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

std::string_view StreamRefusal(std::span<const std::uint8_t> stream) {
    if (stream.size() < kHeaderBytes) {
        return kMsgInvalidStream;
    }
    StreamHeader header;
    std::copy_n(stream.begin(), kHeaderBytes, header.bytes.begin());
    if (!header.HasMagic()) {
        return kMsgInvalidStream;
    }
    if (header.Version() >= kFirstUnsupportedVersion) {
        return kMsgUnsupportedVersion;
    }
    if (stream.size() < header.BodyOffset()) {
        return kMsgInvalidStream;  // too short for the 2048 bytes that versions 0 and 1 carry
    }
    return {};
}

}  // namespace qzm
