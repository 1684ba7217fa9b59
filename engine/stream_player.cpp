#include "stream_player.h"

#include <algorithm>
#include <cstring>

#include "frame_decoder.h"
#include "screen_convert.h"

namespace qzm {

// Marks the player busy for the length of one stream operation, so that nothing started from inside
// it (a host message box dispatching a timer tick or a file drop) can decode or replace the stream
// before it has finished.
class CStreamPlayer::BusyScope {
public:
    explicit BusyScope(bool& busy) : m_busy(busy) { m_busy = true; }
    ~BusyScope() { m_busy = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& m_busy;
};

CStreamPlayer::CStreamPlayer(IPlayerHost& host)
    : m_host(host), m_screen(std::make_unique<std::array<std::uint8_t, kScreenBytes>>()),
      m_image(std::make_unique<IndexedImageBuffer>()) {
    std::fill(m_screen->begin(), m_screen->begin() + kBitmapBytes, 0);
    std::fill(m_screen->begin() + kBitmapBytes, m_screen->end(), kWhiteOnBlack);
    m_image->fill(0);
    m_palette[0] = ColourEntry(0);
    SetFilter(FilterNearest);
}

CStreamPlayer::~CStreamPlayer() = default;

// --- Starting, rewinding, seeking ------------------------------------------------------------------

int CStreamPlayer::StartStream(const std::uint8_t* stream, std::size_t length) {
    if (m_busy || stream == nullptr) {
        return 0;
    }
    BusyScope busy(m_busy);
    return BeginStream(stream, length);
}

int CStreamPlayer::BeginStream(const std::uint8_t* stream, std::size_t length) {
    m_seekCache.Clear();
    m_stream = stream;
    m_streamLength = length;
    m_readOffset = 0;
    if (!RestartStream()) {
        return 0;
    }
    m_seekCache.Reset(m_header.FrameCount());
    return DecodeNext(true);
}

// Copies the header of the recorded stream, checks it, and resets the position, the screen and the
// palette for its first frame. Nothing is decoded yet.
bool CStreamPlayer::RestartStream() {
    const std::size_t available = std::min(m_streamLength, kHeaderBytes);
    m_header.bytes.fill(0);
    if (available > 0) {
        std::memcpy(m_header.bytes.data(), m_stream, available);
    }
    if (const std::string_view refusal = StreamRefusal({m_stream, m_streamLength}); !refusal.empty()) {
        m_frameCounter = kNoFrame;
        m_state = PlayerState::Refused;
        m_host.ShowMessage(refusal);
        return false;
    }

    m_readOffset = m_header.BodyOffset();
    m_frameCounter = 0;
    m_frameIndex = 0;
    std::fill(m_screen->begin(), m_screen->begin() + kBitmapBytes, 0);
    std::uint8_t attribute = m_header.DefaultAttribute();
    if (attribute == 0) {
        attribute = kWhiteOnBlack;
    }
    attribute &= kDefaultAttributeBits;
    m_header.bytes[kHeaderDefaultAttribute] = attribute;
    std::fill(m_screen->begin() + kBitmapBytes, m_screen->end(), attribute);
    for (int i = 0; i < kColourCount; ++i) {
        m_palette[i] = ColourEntry(i);
    }
    m_modeResetPending = true;
    m_state = PlayerState::Playing;
    return true;
}

int CStreamPlayer::Rewind() {
    if (m_busy || m_state == PlayerState::Empty) {
        return 0;
    }
    BusyScope busy(m_busy);
    if (!RestartStream()) {
        return 0;
    }
    return DecodeNext(true);
}

// Seek lands on the frame whose counter is n clamped to 1..frame count. It continues from whatever
// is nearest below the target: the current position, a kept copy of the decoder state, or the
// stream's start. Frames on the way are decoded without display; only the target is shown. The
// outcome is the same as a replay from the start, except that messages of frames before the
// starting point are not shown again.
void CStreamPlayer::Seek(int n) {
    if (m_busy || m_state == PlayerState::Empty) {
        return;
    }
    BusyScope busy(m_busy);
    const unsigned frameCount = m_header.FrameCount();
    if (frameCount == 0) {
        return;
    }
    const std::uint64_t target = static_cast<std::uint64_t>(std::clamp(n, 1, static_cast<int>(frameCount)));

    const bool fromCurrent = m_state == PlayerState::Playing && m_frameIndex >= 1 && m_frameIndex <= target;
    const DecoderSnapshot* snapshot = m_seekCache.Nearest(target - 1);
    if (snapshot != nullptr && (!fromCurrent || snapshot->frameIndex > m_frameIndex)) {
        RestoreSnapshot(*snapshot);
    } else if (!fromCurrent && !RestartStream()) {
        return;
    }

    while (m_frameIndex + 1 < target) {
        if (!DecodeNext(false)) {
            ShowFirstFrameAfterFailedSeek();
            return;
        }
    }
    if (m_frameIndex == target) {
        ShowPicture();
    } else if (!DecodeNext(true)) {
        ShowFirstFrameAfterFailedSeek();
    }
}

void CStreamPlayer::RestoreSnapshot(const DecoderSnapshot& snapshot) {
    // A snapshot is only ever taken from the stream that is recorded now, after its header passed.
    std::memcpy(m_screen->data(), snapshot.screen.data(), kScreenBytes);
    m_frameIndex = snapshot.frameIndex;
    m_frameCounter = static_cast<std::uint16_t>(snapshot.frameIndex);
    m_readOffset = snapshot.readOffset;
    m_decoderMode = snapshot.mode;
    m_modeResetPending = false;
    m_state = PlayerState::Playing;
}

// A replay from the start shows the first frame before it meets the end, so a seek that meets the
// end shows the first frame too (when the stream has one).
void CStreamPlayer::ShowFirstFrameAfterFailedSeek() {
    if (const DecoderSnapshot* first = m_seekCache.First()) {
        qzm::ScreenToIndexed(first->screen, m_image->data());
        RenderPicture();
    }
}

// --- Decoding --------------------------------------------------------------------------------------

int CStreamPlayer::DecodeFrame(bool display) {
    if (m_busy) {
        return 0;
    }
    BusyScope busy(m_busy);
    return DecodeNext(display);
}

int CStreamPlayer::DecodeNext(bool display) {
    if (m_state != PlayerState::Playing) {
        return 0;
    }
    if (m_modeResetPending) {
        m_decoderMode = 0;
        m_modeResetPending = false;
    }
    FrameDecoder decoder(*m_screen, m_decoderMode, m_host, m_stream, m_streamLength, m_readOffset);
    const FrameResult result = decoder.Run();
    if (result != FrameResult::EndOfFrame || decoder.CellAddress() > kEndOfScreen) {
        EndPlayback();
        return 0;
    }
    m_readOffset = decoder.Position();
    ++m_frameIndex;
    m_frameCounter = static_cast<std::uint16_t>(m_frameCounter + 1);
    m_seekCache.Record(m_frameIndex, m_screen->data(), m_readOffset, m_decoderMode);
    if (display) {
        ShowPicture();
    }
    return 1;
}

// The end of the stream or a failed frame: no frame, the read offset stays at the frame's start.
void CStreamPlayer::EndPlayback() {
    m_frameCounter = kNoFrame;
    m_state = PlayerState::Ended;
}

// --- Files ---------------------------------------------------------------------------------------

int CStreamPlayer::OpenFile(std::vector<std::uint8_t> bytes, const StreamLocator& locate) {
    if (m_busy) {
        return 0;
    }
    BusyScope busy(m_busy);
    DropFile();
    m_fileBuffer = std::move(bytes);
    const std::optional<std::size_t> offset = locate(m_fileBuffer);
    if (!offset) {
        DropFile();
        return 0;
    }
    const std::size_t start = std::min(*offset, m_fileBuffer.size());
    return BeginStream(m_fileBuffer.data() + start, m_fileBuffer.size() - start);
}

void CStreamPlayer::CloseFile() {
    if (!m_busy) {
        DropFile();
    }
}

void CStreamPlayer::DropFile() {
    m_stream = nullptr;
    m_streamLength = 0;
    m_readOffset = 0;
    m_frameCounter = kNoFrame;
    m_state = PlayerState::Empty;
    m_seekCache.Clear();
    std::vector<std::uint8_t>().swap(m_fileBuffer);
}

// --- Picture -------------------------------------------------------------------------------------

void CStreamPlayer::ScreenToIndexed() {
    qzm::ScreenToIndexed(*m_screen, m_image->data());
}

void CStreamPlayer::ShowPicture() {
    ScreenToIndexed();
    RenderPicture();
}

// At exactly 256 x 192 Present draws the IndexedImage itself, so the renderer is skipped.
void CStreamPlayer::RenderPicture() {
    if (m_display.width != kImageWidth || m_display.height != kImageHeight) {
        RenderOutput();
    }
}

// The renderer's output for the current picture and display, now or, when rendering waits for
// Present, then.
void CStreamPlayer::RenderOutput() {
    if (m_renderOnPresent) {
        m_rendered = false;
        return;
    }
    m_renderer->Render(m_image->data(), m_display.width, m_display.height, m_display.x, m_display.y);
}

void CStreamPlayer::SetFilter(int index) {
    // A new renderer holds no buffers until it first renders, and the old one is gone by then, so
    // only one frame buffer exists at a time; and the player is never left without a renderer.
    std::unique_ptr<CRenderer> renderer = CreateRenderer(index);
    m_renderer = std::move(renderer);
    m_filter = index;
    RenderOutput();
}

void CStreamPlayer::SetDisplayArea(int width, int height) {
    m_display = FitDisplayArea(width, height);
    RenderOutput();
}

void CStreamPlayer::SetRenderOnPresent(bool on) {
    m_renderOnPresent = on;
    if (!on && !m_rendered) {
        RenderOutput();
        m_rendered = true;
    }
}

void CStreamPlayer::Present(IPaintDevice& device) {
    if (m_display.width == kImageWidth && m_display.height == kImageHeight) {
        device.DrawIndexed(m_display.x, m_display.y, m_image->data(), kImageWidth, kImageHeight, m_palette);
        return;
    }
    if (!m_rendered) {
        if (const auto target =
                device.TargetFor(m_display.x, m_display.y, m_display.width, m_display.height)) {
            m_renderer->RenderInto(m_image->data(), *target, m_display.width, m_display.height);
            return;
        }
        m_renderer->Render(m_image->data(), m_display.width, m_display.height, m_display.x, m_display.y);
        m_rendered = true;
    }
    m_renderer->Blit(device);
}

}  // namespace qzm
