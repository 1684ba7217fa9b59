#include "media_reader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace qzm::media {
namespace {

constexpr std::int64_t kMicroseconds = 1'000'000;
constexpr std::int64_t kTickUs = kMicroseconds / 50;
// Timestamps rounded by their container (to whole milliseconds, say) still count as on time.
constexpr std::int64_t kToleranceUs = 500;
// Timestamps are clamped to this, so that differences of two never overflow.
constexpr std::int64_t kTimeLimitUs = std::int64_t{1} << 60;
// A frame never lasts longer than this, whatever its stream claims.
constexpr std::int64_t kMaxFrameUs = 10 * kMicroseconds;
// A stream with more broken packets than this is not worth reading on.
constexpr int kMaxDecodeErrors = 100;

std::string AvError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

struct FormatCloser {
    void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
struct CodecCloser {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct PacketFreer {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameFreer {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct ScalerFreer {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};
struct AvFreer {
    void operator()(std::uint8_t* p) const { av_free(p); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;

bool RateUsable(AVRational r) {
    return r.num > 0 && r.den > 0;
}

// Degrees clockwise (0, 90, 180 or 270) the picture must turn to stand upright, from a display
// matrix; any other angle is left alone.
int RotationFromMatrix(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < 9 * sizeof(std::int32_t)) {
        return 0;
    }
    std::int32_t matrix[9];
    std::memcpy(matrix, data, sizeof matrix);
    const double counterClockwise = av_display_rotation_get(matrix);
    if (!std::isfinite(counterClockwise)) {
        return 0;
    }
    const double clockwise = -counterClockwise;
    const long quarters = std::lround(clockwise / 90.0);
    if (std::abs(clockwise - 90.0 * static_cast<double>(quarters)) > 1.0) {
        return 0;
    }
    return static_cast<int>(((quarters % 4) + 4) % 4) * 90;
}

bool ScrName(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".scr";
}

bool IsPictureFormat(const AVInputFormat* format) {
    const std::string_view name = format->name;
    constexpr std::string_view kPipe = "_pipe";
    return name == "image2" || name == "image2pipe" ||
           (name.size() > kPipe.size() && name.substr(name.size() - kPipe.size()) == kPipe);
}

// One open input file and the decoder of its video stream.
class Input {
public:
    std::string Open(const std::string& path) {
        m_path = path;
        AVDictionary* options = nullptr;
        // Plain files only, and names taken literally rather than as picture-sequence patterns.
        av_dict_set(&options, "protocol_whitelist", "file", 0);
        av_dict_set(&options, "pattern_type", "none", 0);
        AVFormatContext* format = nullptr;
        int r = avformat_open_input(&format, ("file:" + path).c_str(), nullptr, &options);
        av_dict_free(&options);
        if (r < 0) {
            return "cannot open " + path + ": " + AvError(r) +
                   (ScrName(path) ? " (a .scr screen is 6912 bytes)" : "");
        }
        m_format.reset(format);
        // Probing decodes a first picture: it gets the same size limit as the decoding itself.
        std::vector<AVDictionary*> probeOptions(format->nb_streams, nullptr);
        for (AVDictionary*& d : probeOptions) {
            av_dict_set_int(&d, "max_pixels", kMaxSourcePixels, 0);
        }
        r = avformat_find_stream_info(format, probeOptions.data());
        for (AVDictionary*& d : probeOptions) {
            av_dict_free(&d);
        }
        if (r < 0) {
            return "cannot read " + path + ": " + AvError(r);
        }
        const AVCodec* decoder = nullptr;
        m_stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
        if (m_stream == AVERROR_DECODER_NOT_FOUND) {
            return "cannot decode " + path + ": no decoder for its pictures";
        }
        if (m_stream < 0 || decoder == nullptr) {
            return path + " holds no video or picture";
        }
        const AVStream* stream = format->streams[m_stream];
        const AVCodecParameters* par = stream->codecpar;
        if (std::int64_t{par->width} * par->height > kMaxSourcePixels) {
            return path + " is " + std::to_string(par->width) + " x " + std::to_string(par->height) +
                   " pixels, more than the 64 megapixels read";
        }
        m_codec.reset(avcodec_alloc_context3(decoder));
        m_packet.reset(av_packet_alloc());
        if (!m_codec || !m_packet) {
            return "out of memory opening " + path;
        }
        if ((r = avcodec_parameters_to_context(m_codec.get(), par)) < 0) {
            return "cannot decode " + path + ": " + AvError(r);
        }
        m_codec->pkt_timebase = stream->time_base;
        m_codec->max_pixels = kMaxSourcePixels;
        m_picture = IsPictureFormat(format->iformat);
        // Threads help a video; a single picture gains nothing, and decoding it on the calling
        // thread keeps its decoder's errors (such as the size limit) visible.
        m_codec->thread_count = m_picture ? 1 : 0;
        if ((r = avcodec_open2(m_codec.get(), decoder, nullptr)) < 0) {
            return "cannot decode " + path + ": " + AvError(r);
        }
        m_rate = RateUsable(stream->avg_frame_rate) ? stream->avg_frame_rate : stream->r_frame_rate;
        std::size_t size = 0;
        const std::uint8_t* matrix = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
        m_rotation = RotationFromMatrix(matrix, size);
        return {};
    }

    const std::string& Path() const { return m_path; }
    bool IsPicture() const { return m_picture; }
    AVRational FrameRate() const { return RateUsable(m_rate) ? m_rate : AVRational{0, 1}; }
    std::int64_t DurationUs() const { return m_format->duration > 0 ? m_format->duration : 0; }

    // The frame's display time in microseconds, or nullopt when it has none.
    std::optional<std::int64_t> TimeUs(const AVFrame& frame) const {
        if (frame.best_effort_timestamp == AV_NOPTS_VALUE) {
            return std::nullopt;
        }
        const std::int64_t us =
            av_rescale_q(frame.best_effort_timestamp, m_format->streams[m_stream]->time_base,
                         AVRational{1, static_cast<int>(kMicroseconds)});
        return std::clamp(us, -kTimeLimitUs, kTimeLimitUs);
    }

    // How long the frame is shown, in microseconds (0 when the stream does not say).
    std::int64_t DurationUs(const AVFrame& frame) const {
#if LIBAVUTIL_VERSION_MAJOR >= 58
        const std::int64_t duration = frame.duration;
#else
        const std::int64_t duration = frame.pkt_duration;
#endif
        if (duration <= 0) {
            return 0;
        }
        return std::min(av_rescale_q(duration, m_format->streams[m_stream]->time_base,
                                     AVRational{1, static_cast<int>(kMicroseconds)}),
                        kMaxFrameUs);
    }

    int Rotation(const AVFrame& frame) const {
        if (const AVFrameSideData* data = av_frame_get_side_data(&frame, AV_FRAME_DATA_DISPLAYMATRIX)) {
            return RotationFromMatrix(data->data, data->size);
        }
        return m_rotation;
    }

    AVRational SampleAspect(AVFrame& frame) const {
        return av_guess_sample_aspect_ratio(m_format.get(), m_format->streams[m_stream], &frame);
    }

    // The next decoded frame: 1, or 0 at the end, or -1 with `error` set. Broken packets are
    // skipped as long as some frames decode; a file without a single frame is an error.
    int Receive(AVFrame* frame, std::string& error) {
        for (;;) {
            int r = avcodec_receive_frame(m_codec.get(), frame);
            if (r == 0) {
                ++m_frames;
                return 1;
            }
            if (r == AVERROR_EOF || (r == AVERROR(EAGAIN) && m_flushed)) {
                return Finish(error);
            }
            if (r != AVERROR(EAGAIN)) {
                if (!Tolerate(r, error)) {
                    return -1;
                }
                continue;
            }
            r = av_read_frame(m_format.get(), m_packet.get());
            if (r < 0) {
                // The end of the file, or a read error: what was read so far is decoded to the end.
                if (r != AVERROR_EOF) {
                    m_lastError = r;
                }
                avcodec_send_packet(m_codec.get(), nullptr);
                m_flushed = true;
                continue;
            }
            if (m_packet->stream_index == m_stream) {
                r = avcodec_send_packet(m_codec.get(), m_packet.get());
                if (r < 0 && r != AVERROR(EAGAIN) && !Tolerate(r, error)) {
                    av_packet_unref(m_packet.get());
                    return -1;
                }
            }
            av_packet_unref(m_packet.get());
        }
    }

private:
    bool Tolerate(int code, std::string& error) {
        m_lastError = code;
        if (code == AVERROR(ENOMEM) || ++m_errors > kMaxDecodeErrors) {
            error = "cannot decode " + m_path + ": " + AvError(code);
            return false;
        }
        return true;
    }

    int Finish(std::string& error) {
        if (m_frames > 0) {
            return 0;
        }
        if (m_lastError == AVERROR(EINVAL)) {
            // What decoders say of pictures above the size limit, among other things.
            error = "cannot decode " + m_path + ": invalid, or larger than 64 megapixels";
        } else {
            error = m_lastError != 0 ? "cannot decode " + m_path + ": " + AvError(m_lastError)
                                     : m_path + " holds no frames";
        }
        return -1;
    }

    std::string m_path;
    std::unique_ptr<AVFormatContext, FormatCloser> m_format;
    std::unique_ptr<AVCodecContext, CodecCloser> m_codec;
    std::unique_ptr<AVPacket, PacketFreer> m_packet;
    int m_stream = -1;
    bool m_picture = false;
    bool m_flushed = false;
    AVRational m_rate{0, 1};
    int m_rotation = 0;
    std::int64_t m_frames = 0;
    int m_errors = 0;
    int m_lastError = 0;
};

int SwsColourSpace(const AVFrame& frame) {
    switch (frame.colorspace) {
        case AVCOL_SPC_BT709: return SWS_CS_ITU709;
        case AVCOL_SPC_FCC: return SWS_CS_FCC;
        case AVCOL_SPC_SMPTE240M: return SWS_CS_SMPTE240M;
        case AVCOL_SPC_BT2020_NCL:
        case AVCOL_SPC_BT2020_CL: return SWS_CS_BT2020;
        case AVCOL_SPC_BT470BG:
        case AVCOL_SPC_SMPTE170M: return SWS_CS_ITU601;
        default: return frame.height >= 720 ? SWS_CS_ITU709 : SWS_CS_ITU601;
    }
}

bool FullRange(const AVFrame& frame) {
    switch (frame.format) {
        case AV_PIX_FMT_YUVJ420P:
        case AV_PIX_FMT_YUVJ422P:
        case AV_PIX_FMT_YUVJ444P:
        case AV_PIX_FMT_YUVJ440P:
        case AV_PIX_FMT_YUVJ411P: return true;
        default: return frame.color_range == AVCOL_RANGE_JPEG;
    }
}

// Scales decoded pictures into the letter-boxed frame: Lanczos with accurate rounding, the
// picture turned upright, transparent parts over black.
class Scaler {
public:
    Scaler() : m_scaled(static_cast<std::uint8_t*>(av_malloc(kScaledBytes))) {}

    bool Draw(const AVFrame& frame, AVRational sampleAspect, int rotation,
              std::span<std::uint8_t, kFrameBytes> out, std::string& error) {
        const int w = frame.width;
        const int h = frame.height;
        const auto format = static_cast<AVPixelFormat>(frame.format);
        const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(format);
        if (w <= 0 || h <= 0 || std::int64_t{w} * h > kMaxSourcePixels || desc == nullptr || !m_scaled) {
            error = "a picture of unusable size or format";
            return false;
        }
        if (!RateUsable(sampleAspect)) {
            sampleAspect = {1, 1};
        }
        const double aspect =
            static_cast<double>(w) * sampleAspect.num / (static_cast<double>(h) * sampleAspect.den);
        const bool sideways = rotation == 90 || rotation == 270;
        const Rect box = LetterBox(sideways ? 1.0 / aspect : aspect);
        m_box = box;
        const int sw = sideways ? box.height : box.width;
        const int sh = sideways ? box.width : box.height;
        const bool alpha = (desc->flags & AV_PIX_FMT_FLAG_ALPHA) != 0;
        const AVPixelFormat target = alpha ? AV_PIX_FMT_RGBA : AV_PIX_FMT_RGB24;
        const Key key{w, h, format, sw, sh};
        if (!m_sws || !(key == m_key)) {
            m_sws.reset(
                sws_getContext(w, h, format, sw, sh, target,
                               SWS_LANCZOS | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT | SWS_FULL_CHR_H_INP,
                               nullptr, nullptr, nullptr));
            m_key = key;
            m_colourSpace = -1;
            if (!m_sws) {
                const char* name = av_get_pix_fmt_name(format);
                error = std::string("cannot convert pictures of pixel format ") + (name ? name : "?");
                return false;
            }
        }
        if ((desc->flags & AV_PIX_FMT_FLAG_RGB) == 0) {
            const int space = SwsColourSpace(frame);
            const int range = FullRange(frame) ? 1 : 0;
            if (space != m_colourSpace || range != m_range) {
                sws_setColorspaceDetails(m_sws.get(), sws_getCoefficients(space), range,
                                         sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
                m_colourSpace = space;
                m_range = range;
            }
        }
        const int bytes = alpha ? 4 : 3;
        const int stride = (sw * bytes + 63) & ~63;
        std::uint8_t* planes[4] = {m_scaled.get(), nullptr, nullptr, nullptr};
        const int strides[4] = {stride, 0, 0, 0};
        if (sws_scale(m_sws.get(), frame.data, frame.linesize, 0, h, planes, strides) != sh) {
            error = "cannot scale a picture";
            return false;
        }
        std::fill(out.begin(), out.end(), std::uint8_t{0});
        for (int y = 0; y < sh; ++y) {
            const std::uint8_t* src = m_scaled.get() + static_cast<std::ptrdiff_t>(y) * stride;
            for (int x = 0; x < sw; ++x, src += bytes) {
                int ox = x;
                int oy = y;
                switch (rotation) {
                    case 90: ox = sh - 1 - y, oy = x; break;
                    case 180: ox = sw - 1 - x, oy = sh - 1 - y; break;
                    case 270: ox = y, oy = sw - 1 - x; break;
                    default: break;
                }
                std::uint8_t* dst =
                    out.data() + (static_cast<std::size_t>(box.y + oy) * kFrameWidth + box.x + ox) * 3;
                for (int c = 0; c < 3; ++c) {
                    dst[c] = alpha ? static_cast<std::uint8_t>((src[c] * src[3] + 127) / 255) : src[c];
                }
            }
        }
        return true;
    }

    // Where the last picture drawn lies in the frame.
    Rect Box() const { return m_box; }

private:
    // Room for the scaled picture in either orientation, 64-byte rows, and slack for wide stores.
    static constexpr std::size_t kScaledBytes = 1024 * 256 + 64;

    struct Key {
        int w = 0, h = 0;
        AVPixelFormat format = AV_PIX_FMT_NONE;
        int sw = 0, sh = 0;
        bool operator==(const Key&) const = default;
    };

    std::unique_ptr<std::uint8_t, AvFreer> m_scaled;
    std::unique_ptr<SwsContext, ScalerFreer> m_sws;
    Key m_key;
    int m_colourSpace = -1;
    int m_range = -1;
    Rect m_box{0, 0, kFrameWidth, kFrameHeight};
};

}  // namespace

struct MediaReader::Impl {
    std::vector<std::string> paths;
    std::unique_ptr<Input> input;
    Scaler scaler;
    std::vector<std::uint8_t> rgb = std::vector<std::uint8_t>(kFrameBytes);
    ScreenFile screen{};
    bool video = false;
    int naturalDelay = kDefaultDelay;
    std::int64_t durationUs = 0;

    // Pictures: the next one to read.
    std::size_t nextPicture = 0;

    // A video: the frame on screen, the one after it, and where the output is in time.
    FramePtr current{av_frame_alloc()};
    FramePtr pending{av_frame_alloc()};
    bool haveCurrent = false;
    bool havePending = false;
    bool currentDrawn = false;
    bool ended = false;
    std::int64_t startUs = 0;
    std::int64_t currentUs = 0;
    std::int64_t currentEndUs = 0;
    std::int64_t pendingUs = 0;
    std::int64_t pendingEndUs = 0;
    std::int64_t nominalUs = 0;
    std::int64_t outputFrames = 0;
    bool readAny = false;
    std::int64_t lastReadUs = 0;
    std::int64_t lastReadEndUs = 0;

    bool Draw(AVFrame& frame, std::string& error) {
        if (!scaler.Draw(frame, input->SampleAspect(frame), input->Rotation(frame),
                         std::span<std::uint8_t, kFrameBytes>(rgb.data(), kFrameBytes), error)) {
            error = input->Path() + ": " + error;
            return false;
        }
        return true;
    }

    // Decodes the next video frame into `frame` with its start and end time: 1, 0 at the end, -1.
    int ReadVideoFrame(AVFrame* frame, std::int64_t& us, std::int64_t& endUs, std::string& error) {
        const int r = input->Receive(frame, error);
        if (r != 1) {
            return r;
        }
        const std::optional<std::int64_t> time = input->TimeUs(*frame);
        // Frames without a time, or going back in time, follow the one read before.
        if (!time || (readAny && *time <= lastReadUs)) {
            us = readAny ? lastReadEndUs : 0;
        } else {
            us = *time;
        }
        const std::int64_t duration = input->DurationUs(*frame);
        endUs = us + (duration > 0 ? duration : nominalUs);
        readAny = true;
        lastReadUs = us;
        lastReadEndUs = endUs;
        return 1;
    }

    ReadResult NextPicture(std::span<std::uint8_t, kFrameBytes> out, std::string& error) {
        if (nextPicture >= paths.size()) {
            return ReadResult::End;
        }
        if (!input && ReadScreenFile(paths[nextPicture], screen)) {
            ++nextPicture;
            return ReadResult::Screen;
        }
        if (!input) {
            input = std::make_unique<Input>();
            if (error = input->Open(paths[nextPicture]); !error.empty()) {
                return ReadResult::Error;
            }
            if (!input->IsPicture()) {
                error = paths[nextPicture] + " is not a picture; a video must be the only input";
                return ReadResult::Error;
            }
        }
        if (input->Receive(current.get(), error) != 1 || !Draw(*current, error)) {
            return ReadResult::Error;
        }
        av_frame_unref(current.get());
        input.reset();
        ++nextPicture;
        std::copy(rgb.begin(), rgb.end(), out.begin());
        return ReadResult::Frame;
    }

    ReadResult NextVideoFrame(int delay, std::span<std::uint8_t, kFrameBytes> out, std::string& error) {
        if (!haveCurrent) {
            const int r = ReadVideoFrame(current.get(), currentUs, currentEndUs, error);
            if (r != 1) {
                return ReadResult::Error;  // Receive reports a stream without frames as an error
            }
            haveCurrent = true;
            startUs = currentUs;
        }
        // The frame on screen at the output frame's time is the last one starting by then.
        const std::int64_t targetUs = startUs + outputFrames * std::max(delay, 1) * kTickUs;
        while (!ended) {
            if (!havePending) {
                const int r = ReadVideoFrame(pending.get(), pendingUs, pendingEndUs, error);
                if (r < 0) {
                    return ReadResult::Error;
                }
                if (r == 0) {
                    ended = true;
                    break;
                }
                havePending = true;
            }
            if (pendingUs > targetUs + kToleranceUs) {
                break;
            }
            std::swap(current, pending);
            currentUs = pendingUs;
            currentEndUs = pendingEndUs;
            havePending = false;
            currentDrawn = false;
            av_frame_unref(pending.get());
        }
        if (ended && targetUs + kToleranceUs >= currentEndUs && outputFrames > 0) {
            return ReadResult::End;
        }
        if (!currentDrawn) {
            if (!Draw(*current, error)) {
                return ReadResult::Error;
            }
            currentDrawn = true;
        }
        ++outputFrames;
        std::copy(rgb.begin(), rgb.end(), out.begin());
        return ReadResult::Frame;
    }
};

MediaReader::MediaReader() : m_impl(std::make_unique<Impl>()) {}
MediaReader::~MediaReader() = default;

std::string MediaReader::Open(const std::vector<std::string>& paths) {
    // Errors come back as one line each; the libraries' own chatter would only repeat them.
    av_log_set_level(AV_LOG_QUIET);
    Impl& m = *m_impl;
    if (paths.empty()) {
        return "no input given";
    }
    if (!m.current || !m.pending) {
        return "out of memory";
    }
    m.paths = paths;
    if (ReadScreenFile(paths[0], m.screen)) {
        return {};  // a picture, which Next reads
    }
    m.input = std::make_unique<Input>();
    if (std::string error = m.input->Open(paths[0]); !error.empty()) {
        return error;
    }
    if (paths.size() > 1 && !m.input->IsPicture()) {
        return paths[0] + " is not a picture; a video must be the only input";
    }
    m.video = !m.input->IsPicture();
    if (m.video) {
        const AVRational rate = m.input->FrameRate();
        m.naturalDelay = DelayForFrameRate(rate.num, rate.den);
        m.nominalUs = RateUsable(rate) ? std::min(av_rescale(kMicroseconds, rate.den, rate.num), kMaxFrameUs)
                                       : m.naturalDelay * kTickUs;
        m.durationUs = m.input->DurationUs();
    }
    return {};
}

bool MediaReader::IsVideo() const {
    return m_impl->video;
}

int MediaReader::NaturalDelay() const {
    return m_impl->naturalDelay;
}

std::int64_t MediaReader::EstimatedFrames(int delay) const {
    if (!m_impl->video) {
        return static_cast<std::int64_t>(m_impl->paths.size());
    }
    const std::int64_t period = std::max(delay, 1) * kTickUs;
    return (m_impl->durationUs + period - 1) / period;
}

Rect MediaReader::PictureArea() const {
    return m_impl->scaler.Box();
}

ReadResult MediaReader::Next(int delay, std::span<std::uint8_t, kFrameBytes> rgb, std::string& error) {
    return m_impl->video ? m_impl->NextVideoFrame(delay, rgb, error) : m_impl->NextPicture(rgb, error);
}

const ScreenFile& MediaReader::Screen() const {
    return m_impl->screen;
}

}  // namespace qzm::media
