// The 256-byte header at the start of every stream, kept as the bytes it was copied from.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "qzm_format.h"

namespace qzm {

struct StreamHeader {
    std::array<std::uint8_t, kHeaderBytes> bytes{};

    // A zeroed header with a frame delay of 1: what the player holds before any stream.
    static StreamHeader Empty();

    bool HasMagic() const { return bytes[kHeaderMagic] == 'Q' && bytes[kHeaderMagic + 1] == 'Z'; }
    std::uint8_t Version() const { return bytes[kHeaderVersion]; }
    std::span<const std::uint8_t, kHeaderNameBytes> Name() const {
        return std::span(bytes).subspan<kHeaderName, kHeaderNameBytes>();
    }
    std::uint16_t FrameCount() const {
        return static_cast<std::uint16_t>(bytes[kHeaderFrameCount] | (bytes[kHeaderFrameCount + 1] << 8));
    }
    std::uint8_t FrameDelay() const { return bytes[kHeaderFrameDelay]; }
    std::uint8_t DefaultAttribute() const { return bytes[kHeaderDefaultAttribute]; }
    std::span<const std::uint8_t, kHeaderTextBytes> Title() const {
        return std::span(bytes).subspan<kHeaderTitle, kHeaderTextBytes>();
    }
    std::span<const std::uint8_t, kHeaderTextBytes> Author() const {
        return std::span(bytes).subspan<kHeaderAuthor, kHeaderTextBytes>();
    }
    // The sum of the block list: the stream's length in 256-byte blocks. The list ends at a zero
    // byte or at the end of the header.
    unsigned BlockCount() const;
    // Where the frame command stream begins, counted from the header's first byte.
    std::size_t BodyOffset() const {
        return Version() <= 1 ? kHeaderBytes + kLegacyExtraBytes : kHeaderBytes;
    }
};

// The most of a stream that its header checks look at: the header and the 2048 bytes of versions
// 0 and 1.
inline constexpr std::size_t kStreamCheckBytes = kHeaderBytes + kLegacyExtraBytes;

// Why the stream of which `stream` holds the first bytes cannot be played, as the message that
// says so ("Invalid stream!", "Unsupported version!"); empty when its header lets it play. The
// answer is the same for the whole stream as for its first kStreamCheckBytes bytes.
std::string_view StreamRefusal(std::span<const std::uint8_t> stream);

}  // namespace qzm
