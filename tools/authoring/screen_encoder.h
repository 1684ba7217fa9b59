// Encodes successive Spectrum screens as QZM frames of a chosen form.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "qzm_format.h"
#include "stream_builder.h"

namespace qzm::authoring {

enum class FrameForm {
    Literal,     // skip + literal cell items, literal runs
    Masked,      // skip + masked cell items, masked runs (sets ModeMasked)
    MaskedXor,   // masked cells XORed onto the screen (sets ModeMasked and ModeXor)
    FullScreen,  // CmdFullScreen: the whole bitmap, identical neighbours as runs
    LScreen,     // LSCREEN from the top to the last change, attribute rows when ModeAttributes is on
    Packed,      // mask groups and attribute groups (sets ModePacked and ModeAttributes)
};

// Byte offset of pixel line `line` (0-7) of the cell with index `cell` (0-767, screen order).
constexpr std::size_t CellLineOffset(int cell, int line) {
    return static_cast<std::size_t>((cell / 256) * 2048 + (cell % 256) + line * 256);
}

// Byte offset of the top-left bitmap byte of pixel line y, byte column x.
constexpr std::size_t BitmapOffset(int y, int x) {
    return static_cast<std::size_t>(((y >> 6) << 11) | ((y & 7) << 8) | (((y >> 3) & 7) << 5) | x);
}

class ScreenEncoder {
public:
    // The stream's header must already be in `out`; `defaultAttribute` is the one it declares.
    ScreenEncoder(StreamBuilder& out, std::uint8_t defaultAttribute);

    // Appends one frame that turns the current screen into `target`. Returns false, writing
    // nothing, when the form cannot express the change with the modes the stream has reached
    // (modes are never cleared): the default forms cannot change attributes, nothing but LSCREEN
    // and packed frames is possible once the stream is packed, and the frame that switches to the
    // packed form cannot change attributes yet. Attributes must not use bits 6 and 7.
    bool Encode(std::span<const std::uint8_t, kScreenBytes> target, FrameForm form);

    // Ends the stream in the current form.
    void EndStream();

    std::uint32_t Mode() const { return m_mode; }
    const std::array<std::uint8_t, kScreenBytes>& Screen() const { return m_screen; }
    int FramesWritten() const { return m_frames; }

private:
    bool AttributesChanged(std::span<const std::uint8_t, kScreenBytes> target) const;
    void EncodeCells(std::span<const std::uint8_t, kScreenBytes> target, bool masked, bool xorOnto);
    void EncodeFullScreen(std::span<const std::uint8_t, kScreenBytes> target);
    void EncodeLScreen(std::span<const std::uint8_t, kScreenBytes> target);
    void EncodePacked(std::span<const std::uint8_t, kScreenBytes> target, bool attributesPending);

    StreamBuilder& m_out;
    std::array<std::uint8_t, kScreenBytes> m_screen{};
    std::uint32_t m_mode = 0;
    int m_frames = 0;
};

}  // namespace qzm::authoring
