#include "coded_frames.h"

#include <algorithm>

namespace qzm::testing {

FormWriter::FormWriter(StreamBuilder& out, std::uint8_t defaultAttribute) : m_out(out) {
    const std::uint8_t attribute = defaultAttribute == 0 ? kWhiteOnBlack : defaultAttribute;
    std::fill(m_screen.begin() + kBitmapBytes, m_screen.end(), attribute & kDefaultAttributeBits);
}

bool FormWriter::Write(const encoder::Screen& target, FrameForm form) {
    m_coder.Prepare(m_screen, target);
    const bool attributes = m_coder.AttributesChange();
    const bool packed = (m_mode & ModePacked) != 0;
    const bool pending = (m_mode & ModeAttributes) != 0;  // packed attribute groups expected
    const bool still = !packed && !attributes;            // a default-form frame that leaves attributes alone
    std::uint32_t mode = m_mode;
    bool possible = false;
    switch (form) {
        case FrameForm::Literal: possible = still && (m_mode & ModeMasked) == 0; break;
        case FrameForm::Masked:
            possible = still && (m_mode & ModeXor) == 0;
            mode |= ModeMasked;
            break;
        case FrameForm::MaskedXor:
            possible = still;
            mode |= ModeMasked | ModeXor;
            break;
        case FrameForm::FullScreen: possible = still; break;
        case FrameForm::LScreen:
            possible = !attributes || pending || !packed;
            mode |= attributes ? std::uint32_t{ModeAttributes} : 0u;
            break;
        case FrameForm::Packed:
            possible = !attributes || pending;
            mode |= ModePacked | ModeAttributes;
            break;
    }
    if (!possible) {
        return false;
    }
    const std::uint32_t added = mode & ~m_mode;
    if (added & ModeMasked) {
        m_out.SetMasked();
    }
    if (added & ~std::uint32_t{ModeMasked}) {
        m_out.SetModes(static_cast<std::uint8_t>(mode >> 1));
    }
    m_mode = mode;
    std::vector<std::uint8_t> bytes;
    encoder::ByteSink sink(&bytes);
    switch (form) {
        case FrameForm::Literal:
        case FrameForm::Masked:
        case FrameForm::MaskedXor: m_coder.Items(mode & ModeMasked, mode & ModeXor, sink); break;
        case FrameForm::FullScreen: m_coder.FullScreen(sink); break;
        case FrameForm::LScreen: m_coder.LScreen(mode & ModeAttributes, packed, sink); break;
        case FrameForm::Packed: m_coder.Packed(pending, sink); break;
    }
    m_out.Bytes(bytes);
    m_screen = target;
    return true;
}

void FormWriter::EndStream() {
    if (m_mode & ModePacked) {
        m_out.PackedEndStream();
    } else {
        m_out.EndStream();
    }
}

}  // namespace qzm::testing
