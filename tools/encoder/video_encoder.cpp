#include "video_encoder.h"

#include "picture_quantizer.h"

namespace qzm::encoder {

struct VideoEncoder::Impl {
    EncodeOptions options;
    std::vector<Screen> screens;
    EncodeStatistics statistics;
};

std::string CheckOptions(const EncodeOptions&) {
    return {};
}

VideoEncoder::VideoEncoder(const EncodeOptions& options) : m_impl(std::make_unique<Impl>()) {
    m_impl->options = options;
}
VideoEncoder::~VideoEncoder() = default;
void VideoEncoder::AddFrame(std::span<const std::uint8_t>) {}
std::size_t VideoEncoder::FrameCount() const {
    return m_impl->screens.size();
}
std::variant<std::vector<std::uint8_t>, std::string> VideoEncoder::Finish() {
    return std::string("the encoder is not complete yet");
}
const std::vector<Screen>& VideoEncoder::Screens() const {
    return m_impl->screens;
}
const EncodeStatistics& VideoEncoder::Statistics() const {
    return m_impl->statistics;
}
void VideoEncoder::SetAllowedModes(std::uint32_t) {}
void VideoEncoder::SetAllowedForms(unsigned) {}

}  // namespace qzm::encoder
