// The playback engine: one loaded file, the stream playing inside it, the Spectrum screen the frame
// decoder edits, the palette-index picture made from it and the renderer that scales it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "display_geometry.h"
#include "indexed_image.h"
#include "paint_device.h"
#include "player_host.h"
#include "qzm_format.h"
#include "renderer.h"
#include "seek_cache.h"
#include "stream_header.h"

namespace qzm {

enum class PlayerState {
    Empty,    // no stream
    Refused,  // the recorded stream failed its header checks
    Playing,  // frames are being decoded
    Ended,    // the stream ended or a frame failed; Rewind or Seek start it again
};

inline constexpr std::uint16_t kNoFrame = 0xFFFF;

class CStreamPlayer {
public:
    // `host` shows the player's messages; it must outlive the player.
    explicit CStreamPlayer(IPlayerHost& host);
    virtual ~CStreamPlayer();
    CStreamPlayer(const CStreamPlayer&) = delete;
    CStreamPlayer& operator=(const CStreamPlayer&) = delete;

    // --- Stream operations. Each returns 0 at once, changing nothing, while another of them is
    // still running (for instance when the host's message box lets a timer tick through). ---

    // Checks the header of the stream at `stream` (`length` bytes; the player never reads past
    // them) and starts playback with its first frame, shown. 0 when refused or when that frame
    // fails, 1 otherwise. The stream is borrowed: it must stay valid while the player uses it.
    int StartStream(const std::uint8_t* stream, std::size_t length);
    // Decodes the next frame; with `display`, converts and renders it. 1 = decoded, 0 = end of
    // stream, failed frame, nothing to decode, or refused while busy: a caller that must tell the
    // end from a refusal (a timer tick arriving while a message box is open) checks IsBusy() first.
    int DecodeFrame(bool display);
    // The frame counter: frames decoded since the start, 65535 when there is no frame.
    int CurrentFrame() const { return m_frameCounter; }
    // Starts the recorded stream again from its first frame.
    int Rewind();
    // Shows the frame the slider position n stands for: afterwards the counter reads n clamped to
    // 1..frame count, unless the stream ends earlier. Does nothing when the header counts no frames.
    void Seek(int n);

    // --- Files. The player owns the loaded file; streams inside it are decoded in place. ---

    // Picks the stream inside a file: its offset, or nothing when the file holds none to start.
    using StreamLocator = std::function<std::optional<std::size_t>(std::span<const std::uint8_t> file)>;
    // Replaces the loaded file with `bytes` (the previous file and stream are dropped first), asks
    // `locate` where the stream lies and starts it with what remains of the file from there. When
    // `locate` finds none the player is left empty. Refused (0, nothing changed) while busy.
    int OpenFile(std::vector<std::uint8_t> bytes, const StreamLocator& locate);
    // Drops the loaded file and the stream: the empty state. Refused (nothing changed) while busy,
    // since the running operation may be reading the file.
    void CloseFile();

    // --- Picture. ---

    // Builds the renderer for `index` (1 bilinear, 2 biquadratic, 3 bicubic, anything else nearest),
    // records the index unchanged and renders the current picture at once.
    void SetFilter(int index);
    int GetFilter() const { return m_filter; }
    // Fits the 4:3 picture into an area of the window and renders it there.
    void SetDisplayArea(int width, int height);
    // Draws the current picture: unscaled from the IndexedImage at exactly 256 x 192, otherwise the
    // renderer's output.
    void Present(IPaintDevice& device);
    // Whether each new picture is rendered only when it is presented, straight into the device's
    // memory where the device offers it (TargetFor), and otherwise into the frame buffer first: a
    // window whose screen memory takes the picture saves a copy of every frame. Off by default:
    // every picture is rendered when it is made, and Present only draws the output.
    void SetRenderOnPresent(bool on);
    // Converts the screen into the IndexedImage.
    void ScreenToIndexed();

    // --- State for the window, the tools and the tests. ---
    IPlayerHost& Host() const { return m_host; }
    // True exactly while a stream operation runs, so also inside the host's ShowMessage and
    // ChooseVideo when they are called from one.
    bool IsBusy() const { return m_busy; }
    PlayerState State() const { return m_state; }
    const StreamHeader& Header() const { return m_header; }
    std::uint32_t DecoderMode() const { return m_decoderMode; }
    std::span<const std::uint8_t, kScreenBytes> Screen() const { return *m_screen; }
    const IndexedImageBuffer& IndexedImage() const { return *m_image; }
    const Palette& GetPalette() const { return m_palette; }
    DisplayGeometry Display() const { return m_display; }
    std::size_t ReadOffset() const { return m_readOffset; }
    const CRenderer& Renderer() const { return *m_renderer; }
    std::span<const std::uint8_t> FileBuffer() const { return m_fileBuffer; }

private:
    class BusyScope;

    int BeginStream(const std::uint8_t* stream, std::size_t length);
    void DropFile();
    bool RestartStream();
    int DecodeNext(bool display);
    void EndPlayback();
    void ShowPicture();
    void ShowFirstFrameAfterFailedSeek();
    void RestoreSnapshot(const DecoderSnapshot& snapshot);
    void RenderPicture();
    void RenderOutput();

    IPlayerHost& m_host;
    std::vector<std::uint8_t> m_fileBuffer;
    std::unique_ptr<std::array<std::uint8_t, kScreenBytes>> m_screen;
    std::unique_ptr<IndexedImageBuffer> m_image;
    Palette m_palette{};
    std::unique_ptr<CRenderer> m_renderer;
    DisplayGeometry m_display{kImageWidth, kImageHeight, kPictureAreaLeft, kPictureAreaTop};
    const std::uint8_t* m_stream = nullptr;
    std::size_t m_streamLength = 0;
    std::size_t m_readOffset = 0;
    std::uint16_t m_frameCounter = kNoFrame;
    std::uint64_t m_frameIndex = 0;  // frames decoded since the start; unlike the counter, never wraps
    StreamHeader m_header = StreamHeader::Empty();
    int m_filter = 0;
    bool m_renderOnPresent = false;
    bool m_rendered = true;  // the renderer's output shows the current picture
    PlayerState m_state = PlayerState::Empty;
    std::uint32_t m_decoderMode = 0;
    bool m_modeResetPending = false;  // the next frame is the first after a start
    bool m_busy = false;
    SeekCache m_seekCache;
};

}  // namespace qzm
