#include "video_encoder.h"

#include <algorithm>
#include <cassert>
#include <limits>

#include "frame_coder.h"
#include "picture_quantizer.h"

namespace qzm::encoder {
namespace {

constexpr std::uint32_t kAllModes = ModeMasked | ModeXor | ModePacked | ModeAttributes;
constexpr unsigned kAllForms = (1u << kFrameFormCount) - 1;
constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max() / 4;
constexpr int kModeStates = 16;
constexpr std::size_t kBlockListBytes = kHeaderBytes - kHeaderBlockList - 1;  // room for the terminator
constexpr std::size_t kBlockBytes = 256;

// Sizes of one frame in every form and mode it can be coded in; kNever where it cannot.
struct FrameCosts {
    std::array<std::uint32_t, 4> items{};  // [masked * 2 + xor]
    std::uint32_t fullScreen = 0;
    std::array<std::uint32_t, 2> lscreen{};  // [ModeAttributes], default form (packed: one less)
    std::array<std::uint32_t, 2> packed{};   // [attributes pending]
    bool attributes = false;                 // the frame changes attributes
};

struct FormChoice {
    std::uint64_t bytes = kNever;
    FrameForm form = FrameForm::LScreen;
};

unsigned FormBit(FrameForm form) {
    return 1u << static_cast<unsigned>(form);
}

// The smallest form for a frame that starts in mode `before` and is coded in mode `after`.
FormChoice BestForm(const FrameCosts& c, std::uint32_t before, std::uint32_t after, unsigned forms) {
    const bool packed = (after & ModePacked) != 0;
    const bool attributes = (after & ModeAttributes) != 0;
    FormChoice best;
    const auto consider = [&](FrameForm form, std::uint64_t bytes, bool possible) {
        if (possible && (forms & FormBit(form)) != 0 && bytes < best.bytes) {
            best = {bytes, form};
        }
    };
    const std::uint64_t lscreen = c.lscreen[attributes ? 1 : 0] - (packed ? 1u : 0u);
    const bool lscreenPossible = !c.attributes || attributes;
    if (packed) {
        const bool pending = (before & ModeAttributes) != 0;
        consider(FrameForm::Packed, c.packed[pending ? 1 : 0], !c.attributes || pending);
    } else {
        const int masked = (after & ModeMasked) != 0 ? 1 : 0;
        const int xorOnto = (after & ModeXor) != 0 ? 1 : 0;
        consider(FrameForm::Items, c.items[static_cast<std::size_t>(masked * 2 + xorOnto)], !c.attributes);
        consider(FrameForm::FullScreen, c.fullScreen, !c.attributes);
    }
    consider(FrameForm::LScreen, lscreen, lscreenPossible);
    if (best.bytes == kNever && c.attributes && lscreenPossible) {
        best = {lscreen, FrameForm::LScreen};  // attribute changes the allowed forms cannot make
    }
    return best;
}

// Bytes of the commands that switch from mode `before` to `after` at the start of a frame.
std::uint32_t SwitchBytes(std::uint32_t before, std::uint32_t after) {
    const std::uint32_t added = after & ~before;
    return ((added & ModeMasked) != 0 ? 2u : 0u) + ((added & ~std::uint32_t{ModeMasked}) != 0 ? 3u : 0u);
}

void PutSwitch(std::vector<std::uint8_t>& out, std::uint32_t before, std::uint32_t after) {
    const std::uint32_t added = after & ~before;
    if (added & ModeMasked) {
        out.insert(out.end(), {kItemCommand, CmdSetMasked});
    }
    if (added & ~std::uint32_t{ModeMasked}) {
        out.insert(out.end(), {kItemCommand, CmdSetModes, static_cast<std::uint8_t>((after >> 1) & 7)});
    }
}

bool Reachable(std::uint32_t before, std::uint32_t after, std::uint32_t allowed) {
    if ((after & before) != before || (after & ~allowed & ~before) != 0) {
        return false;
    }
    return (before & ModePacked) == 0 || after == before;  // the packed form has no mode commands
}

std::string CheckText(const std::string& text, const char* what, std::string* cp866) {
    std::string error;
    const std::optional<std::string> converted = Utf8ToCp866(text, &error);
    if (!converted) {
        return std::string(what) + ": " + error;
    }
    if (converted->size() > kHeaderTextBytes) {
        return std::string(what) + " is longer than 32 characters (" + std::to_string(converted->size()) +
               ")";
    }
    if (cp866 != nullptr) {
        *cp866 = *converted;
    }
    return {};
}

}  // namespace

std::string CheckOptions(const EncodeOptions& options) {
    if (options.version >= kFirstUnsupportedVersion) {
        return "version must be 0 to 7, not " + std::to_string(options.version);
    }
    const bool printable =
        std::all_of(options.name.begin(), options.name.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
    if (options.name.empty() || options.name.size() > kHeaderNameBytes || !printable) {
        return "name must be 1 to 8 printable ASCII characters: \"" + options.name + "\"";
    }
    if (options.threshold < 0 || options.threshold > 64) {
        return "threshold must be 0 to 64, not " + std::to_string(options.threshold);
    }
    std::string error = CheckText(options.title, "title", nullptr);
    return error.empty() ? CheckText(options.author, "author", nullptr) : error;
}

struct VideoEncoder::Impl {
    explicit Impl(const EncodeOptions& o) : options(o), quantizer(o.dither, o.threshold) {}

    Screen Blank(std::uint8_t attribute) const {
        Screen s{};
        std::fill(s.begin() + kBitmapBytes, s.end(), attribute);
        return s;
    }
    const Screen& Before(std::size_t frame) const { return frame == 0 ? initial : screens[frame - 1]; }
    void SetDefaultAttribute(const Screen& first);
    void AddCosts(std::size_t frame);
    std::uint64_t Plan(std::vector<std::uint32_t>& modes, std::uint32_t allowedModes, unsigned forms) const;
    std::vector<std::uint8_t> Header(std::size_t streamBytes) const;

    EncodeOptions options;
    PictureQuantizer quantizer;
    FrameCoder coder;
    Screen initial{};
    std::uint8_t defaultAttribute = kWhiteOnBlack;
    std::vector<Screen> screens;
    std::vector<FrameCosts> costs;
    std::size_t pictures = 0;  // pictures added, also those past the frame limit
    std::string pictureError;
    std::uint32_t allowedModes = kAllModes;
    unsigned allowedForms = kAllForms;
    EncodeStatistics statistics;
};

// The header's default attribute is the first screen's most common one, so that its cells need no
// attribute change. 0 cannot be declared (the header reads it as 7), nor BRIGHT and FLASH.
void VideoEncoder::Impl::SetDefaultAttribute(const Screen& first) {
    std::array<int, 64> count{};
    for (std::size_t i = kBitmapBytes; i < kScreenBytes; ++i) {
        ++count[first[i] & kAttributeValueBits];
    }
    count[0] = 0;
    const auto most = std::max_element(count.begin(), count.end());
    defaultAttribute = *most > 0 ? static_cast<std::uint8_t>(most - count.begin()) : kWhiteOnBlack;
    initial = Blank(defaultAttribute);
}

void VideoEncoder::Impl::AddCosts(std::size_t frame) {
    coder.Prepare(Before(frame), screens[frame]);
    FrameCosts c;
    c.attributes = coder.AttributesChange();
    const auto size = [](auto&& code) {
        ByteSink counter;
        return static_cast<std::uint32_t>(code(counter));
    };
    for (int variant = 0; variant < 4; ++variant) {
        c.items[static_cast<std::size_t>(variant)] =
            size([&](ByteSink& s) { return coder.Items(variant >= 2, (variant & 1) != 0, s); });
    }
    c.fullScreen = size([&](ByteSink& s) { return coder.FullScreen(s); });
    for (int a = 0; a < 2; ++a) {
        c.lscreen[static_cast<std::size_t>(a)] =
            size([&](ByteSink& s) { return coder.LScreen(a == 1, false, s); });
        c.packed[static_cast<std::size_t>(a)] = size([&](ByteSink& s) { return coder.Packed(a == 1, s); });
    }
    costs.push_back(c);
}

// Dynamic programme over the frames and the 16 mode words: modes only grow, so the best way to
// reach each mode word after frame f follows from the best ways after frame f - 1. Fills the mode
// each frame is coded in and returns the stream's frame bytes (kNever when impossible).
std::uint64_t VideoEncoder::Impl::Plan(std::vector<std::uint32_t>& modes, std::uint32_t allowed,
                                       unsigned forms) const {
    const std::size_t frames = costs.size();
    std::vector<std::array<std::uint8_t, kModeStates>> from(frames);
    std::array<std::uint64_t, kModeStates> cost;
    cost.fill(kNever);
    cost[0] = 0;
    for (std::size_t f = 0; f < frames; ++f) {
        std::array<std::uint64_t, kModeStates> next;
        next.fill(kNever);
        for (std::uint32_t before = 0; before < kModeStates; ++before) {
            if (cost[before] >= kNever) {
                continue;
            }
            for (std::uint32_t after = 0; after < kModeStates; ++after) {
                if (!Reachable(before, after, allowed)) {
                    continue;
                }
                const FormChoice choice = BestForm(costs[f], before, after, forms);
                const std::uint64_t total = cost[before] + SwitchBytes(before, after) + choice.bytes;
                if (choice.bytes < kNever && total < next[after]) {
                    next[after] = total;
                    from[f][after] = static_cast<std::uint8_t>(before);
                }
            }
        }
        cost = next;
    }
    std::uint64_t best = kNever;
    std::uint32_t mode = 0;
    for (std::uint32_t m = 0; m < kModeStates; ++m) {
        const std::uint64_t total = cost[m] + ((m & ModePacked) != 0 ? 1 : 2);
        if (cost[m] < kNever && total < best) {
            best = total;
            mode = m;
        }
    }
    modes.assign(frames, 0);
    for (std::size_t f = frames; f-- > 0 && best < kNever;) {
        modes[f] = mode;
        mode = from[f][mode];
    }
    return best;
}

std::vector<std::uint8_t> VideoEncoder::Impl::Header(std::size_t streamBytes) const {
    std::vector<std::uint8_t> h(kHeaderBytes, 0);
    h[kHeaderMagic] = 'Q';
    h[kHeaderMagic + 1] = 'Z';
    h[kHeaderVersion] = options.version;
    std::copy(options.name.begin(), options.name.end(), h.begin() + kHeaderName);
    h[kHeaderFrameCount] = static_cast<std::uint8_t>(screens.size() & 0xFF);
    h[kHeaderFrameCount + 1] = static_cast<std::uint8_t>(screens.size() >> 8);
    h[kHeaderFrameDelay] = options.delay;
    h[kHeaderDefaultAttribute] = defaultAttribute;
    std::string title;
    std::string author;
    CheckText(options.title, "title", &title);
    CheckText(options.author, "author", &author);
    std::copy(title.begin(), title.end(), h.begin() + kHeaderTitle);
    std::copy(author.begin(), author.end(), h.begin() + kHeaderAuthor);
    std::size_t blocks = (streamBytes + kBlockBytes - 1) / kBlockBytes;
    for (std::size_t at = kHeaderBlockList; blocks > 0; ++at) {
        const std::size_t part = std::min<std::size_t>(blocks, 255);
        h[at] = static_cast<std::uint8_t>(part);
        blocks -= part;
    }
    if (options.version <= 1) {
        h.resize(kHeaderBytes + kLegacyExtraBytes, 0);
    }
    return h;
}

VideoEncoder::VideoEncoder(const EncodeOptions& options) : m_impl(std::make_unique<Impl>(options)) {}

VideoEncoder::~VideoEncoder() = default;

void VideoEncoder::AddFrame(std::span<const std::uint8_t> rgb, const Area& picture) {
    Impl& d = *m_impl;
    ++d.pictures;
    if (rgb.size() != kPictureBytes) {
        if (d.pictureError.empty()) {
            d.pictureError = "picture " + std::to_string(d.pictures) + " is not 256 x 192 RGB (" +
                             std::to_string(rgb.size()) + " bytes)";
        }
        return;
    }
    if (d.screens.size() >= kMaxFrames || !d.pictureError.empty()) {
        return;
    }
    Screen screen;
    if (d.screens.empty()) {
        // A quantiser of its own: the frame's own quantiser remembers what each cell was drawn from.
        PictureQuantizer(d.options.dither, d.options.threshold)
            .Quantize(rgb, d.Blank(kWhiteOnBlack), screen, picture);
        d.SetDefaultAttribute(screen);
    }
    d.quantizer.Quantize(rgb, d.Before(d.screens.size()), screen, picture);
    d.screens.push_back(screen);
    d.AddCosts(d.screens.size() - 1);
}

void VideoEncoder::AddScreen(const Screen& screen) {
    Impl& d = *m_impl;
    ++d.pictures;
    if (d.screens.size() >= kMaxFrames || !d.pictureError.empty()) {
        return;
    }
    if (d.screens.empty()) {
        d.SetDefaultAttribute(screen);
    }
    d.quantizer.ForgetDrawn();
    d.screens.push_back(screen);
    d.AddCosts(d.screens.size() - 1);
}

std::size_t VideoEncoder::FrameCount() const {
    return m_impl->pictures;
}

std::variant<std::vector<std::uint8_t>, std::string> VideoEncoder::Finish(const Progress& progress) {
    Impl& d = *m_impl;
    if (std::string error = CheckOptions(d.options); !error.empty()) {
        return error;
    }
    if (!d.pictureError.empty()) {
        return d.pictureError;
    }
    if (d.pictures == 0) {
        return std::string("no frames to encode");
    }
    if (d.pictures > kMaxFrames) {
        return "too many frames: " + std::to_string(d.pictures) + " (at most 65535)";
    }
    std::vector<std::uint32_t> modes;
    unsigned forms = d.allowedForms;
    if (d.Plan(modes, d.allowedModes, forms) >= kNever) {
        forms = kAllForms;
        d.Plan(modes, kAllModes, forms);
    }
    const std::size_t headerBytes = kHeaderBytes + (d.options.version <= 1 ? kLegacyExtraBytes : 0);
    std::vector<std::uint8_t> out(headerBytes, 0);
    EncodeStatistics stats;
    std::uint32_t mode = 0;
    for (std::size_t f = 0; f < d.screens.size(); ++f) {
        const std::size_t start = out.size();
        PutSwitch(out, mode, modes[f]);
        const FormChoice choice = BestForm(d.costs[f], mode, modes[f], forms);
        const FrameForm form = choice.form;
        const FormChoice next = BestForm(d.costs[f], mode, modes[f], kAllForms & ~FormBit(form));
        d.coder.Prepare(d.Before(f), d.screens[f]);
        ByteSink sink(&out);
        const std::uint32_t before = mode;
        const bool pending = (before & ModeAttributes) != 0;
        mode = modes[f];
        switch (form) {
            case FrameForm::Items: d.coder.Items(mode & ModeMasked, mode & ModeXor, sink); break;
            case FrameForm::FullScreen: d.coder.FullScreen(sink); break;
            case FrameForm::LScreen: d.coder.LScreen(mode & ModeAttributes, mode & ModePacked, sink); break;
            case FrameForm::Packed: d.coder.Packed(pending, sink); break;
        }
        FormStatistics& s = stats.forms[static_cast<std::size_t>(form)];
        ++s.frames;
        s.bytes += out.size() - start;
        s.saved += static_cast<std::int64_t>(kScreenBytes) - static_cast<std::int64_t>(out.size() - start);
        if (next.bytes < kNever) {
            s.savedAgainstNext +=
                static_cast<std::int64_t>(next.bytes) - static_cast<std::int64_t>(choice.bytes);
        }
        if (progress) {
            progress(f + 1, d.screens.size());
        }
    }
    if (mode & ModePacked) {
        out.push_back(kPackedEndStream);
    } else {
        out.insert(out.end(), {kItemCommand, CmdEndStream});
    }
    const std::size_t blocks = (out.size() + kBlockBytes - 1) / kBlockBytes;
    if (blocks > kBlockListBytes * 255) {
        return "the stream is too long for the header's block list (" + std::to_string(blocks) +
               " blocks of 256 bytes, at most " + std::to_string(kBlockListBytes * 255) + ")";
    }
    const std::vector<std::uint8_t> header = d.Header(out.size());
    std::copy(header.begin(), header.end(), out.begin());
    stats.headerBytes = headerBytes;
    stats.streamBytes = out.size();
    stats.fullScreenBytes = headerBytes + d.screens.size() * kScreenBytes;
    stats.finalMode = mode;
    d.statistics = stats;
    return out;
}

const std::vector<Screen>& VideoEncoder::Screens() const {
    return m_impl->screens;
}

const EncodeStatistics& VideoEncoder::Statistics() const {
    return m_impl->statistics;
}

void VideoEncoder::SetAllowedModes(std::uint32_t modes) {
    m_impl->allowedModes = modes & kAllModes;
}

void VideoEncoder::SetAllowedForms(unsigned forms) {
    m_impl->allowedForms = forms & kAllForms;
}

}  // namespace qzm::encoder
