// Streams whose frames the encoder's frame coder codes in forms the caller names, so that a stream
// shows every form (the demo stream, the fuzzers' seeds); the video encoder would choose the smallest.
#pragma once

#include <cstdint>

#include "frame_coder.h"
#include "stream_builder.h"

namespace qzm::testing {

enum class FrameForm {
    Literal,     // default items with literal cells
    Masked,      // default items with masked cells (sets ModeMasked)
    MaskedXor,   // masked cells XORed onto the screen (sets ModeMasked and ModeXor)
    FullScreen,  // CmdFullScreen
    LScreen,     // LSCREEN, with attribute rows once attributes change (sets ModeAttributes)
    Packed,      // mask groups and attribute groups (sets ModePacked and ModeAttributes)
};

class FormWriter {
public:
    // The stream's header must already be in `out`; `defaultAttribute` is the one it declares.
    FormWriter(StreamBuilder& out, std::uint8_t defaultAttribute);

    // Appends one frame that turns the current screen into `target`. Returns false, writing
    // nothing, when the form cannot make the change in the modes the stream has reached (modes are
    // never cleared): the default items and the full screen cannot change attributes, only LSCREEN
    // and packed frames are possible once the stream is packed, and the frame that switches to the
    // packed form cannot change attributes yet.
    bool Write(const encoder::Screen& target, FrameForm form);
    void EndStream();

private:
    StreamBuilder& m_out;
    encoder::FrameCoder m_coder;
    encoder::Screen m_screen{};
    std::uint32_t m_mode = 0;
};

}  // namespace qzm::testing
