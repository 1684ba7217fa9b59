// The video encoder against the real player: every stream it writes must decode, frame by frame,
// to the screens it says it coded, whatever forms and modes it was allowed to use.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "dos_text.h"
#include "picture_quantizer.h"
#include "recording_host.h"
#include "stream_player.h"
#include "video_encoder.h"

namespace qzm::encoder {
namespace {

using Picture = std::vector<std::uint8_t>;

enum class Scene {
    Sprite,   // a white square moving over black: bitmap changes only
    Noise,    // black and white noise over the whole screen, new every frame
    Colours,  // bands of the eight colours, shifted every sixth frame, under a blinking black square
    Line,     // a grey ramp under a thin moving line: small changes to busy cells
    Photo,    // a smooth colour gradient with a moving disc: needs dithering
};

void Put(Picture& p, int x, int y, int r, int g, int b) {
    const auto at = (static_cast<std::size_t>(y) * kPictureWidth + static_cast<std::size_t>(x)) * 3;
    p[at] = static_cast<std::uint8_t>(r);
    p[at + 1] = static_cast<std::uint8_t>(g);
    p[at + 2] = static_cast<std::uint8_t>(b);
}

Picture Draw(Scene scene, int frame) {
    Picture p(kPictureBytes, 0);
    std::mt19937 random(static_cast<unsigned>(frame));
    const int sx = (frame * 13) % 200;
    const int sy = (frame * 7) % 150;
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            const bool square = x >= sx && x < sx + 40 && y >= sy && y < sy + 30;
            switch (scene) {
                case Scene::Sprite: Put(p, x, y, square * 255, square * 255, square * 255); break;
                case Scene::Noise: {
                    const int v = (random() & 1) * 255;
                    Put(p, x, y, v, v, v);
                    break;
                }
                case Scene::Colours: {
                    const int bx = (frame / 6) * 37 % 200;
                    const bool shown = (frame & 1) != 0 && x >= bx && x < bx + 40 && y >= 50 && y < 80;
                    const int c = shown ? 0 : ((x + (frame / 6) * 8) / 32) % 8;
                    Put(p, x, y, (c >> 1 & 1) * 255, (c >> 2 & 1) * 255, (c & 1) * 255);
                    break;
                }
                case Scene::Line: {
                    const int v = x == 40 + frame * 3 ? 255 : x;
                    Put(p, x, y, v, v, v);
                    break;
                }
                case Scene::Photo: {
                    const int dx = x - sx - 20;
                    const int dy = y - sy - 20;
                    const bool disc = dx * dx + dy * dy < 400;
                    Put(p, x, y, disc ? 250 : x, disc ? 240 : y * 4 / 3,
                        disc ? 10 : (x + y + frame * 4) % 256);
                    break;
                }
            }
        }
    }
    return p;
}

std::vector<std::uint8_t> Encode(VideoEncoder& encoder, Scene scene, int frames) {
    for (int f = 0; f < frames; ++f) {
        encoder.AddFrame(Draw(scene, f));
    }
    auto result = encoder.Finish();
    if (auto* error = std::get_if<std::string>(&result)) {
        ADD_FAILURE() << *error;
        return {};
    }
    return std::get<std::vector<std::uint8_t>>(result);
}

// Plays the stream and compares each frame's bitmap and attribute bits 0-5 with `screens`, by default
// the encoder's own.
void ExpectDecodesToScreens(const std::vector<std::uint8_t>& stream, const VideoEncoder& encoder,
                            const std::vector<Screen>* given = nullptr) {
    testing::RecordingHost host;
    CStreamPlayer player(host);
    const auto& screens = given != nullptr ? *given : encoder.Screens();
    ASSERT_EQ(player.StartStream(stream.data(), stream.size()), 1);
    for (std::size_t f = 0; f < screens.size(); ++f) {
        ASSERT_TRUE(f == 0 || player.DecodeFrame(false) == 1) << "frame " << f;
        const auto shown = player.Screen();
        ASSERT_EQ(std::memcmp(shown.data(), screens[f].data(), kBitmapBytes), 0) << "bitmap of frame " << f;
        for (std::size_t a = kBitmapBytes; a < kScreenBytes; ++a) {
            ASSERT_EQ(shown[a] & kAttributeValueBits, screens[f][a] & kAttributeValueBits)
                << "attribute " << a - kBitmapBytes << " of frame " << f;
        }
    }
    EXPECT_EQ(player.DecodeFrame(false), 0);
    EXPECT_EQ(player.CurrentFrame(), 0xFFFF);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(player.DecoderMode(), encoder.Statistics().finalMode);
}

constexpr std::uint32_t kAll = ModeMasked | ModeXor | ModePacked | ModeAttributes;
constexpr unsigned Form(FrameForm f) {
    return 1u << static_cast<unsigned>(f);
}

struct RoundTripCase {
    const char* name;
    Scene scene;
    std::uint32_t modes;
    unsigned forms;
    Dither dither;
    int threshold;
    FrameForm expectedForm;      // used for at least one frame
    std::uint32_t expectedMode;  // bits the stream must have switched on
};

const RoundTripCase kRoundTrips[] = {
    {"LiteralItems", Scene::Sprite, 0, Form(FrameForm::Items), Dither::None, 0, FrameForm::Items, 0},
    {"MaskedItems", Scene::Sprite, ModeMasked, Form(FrameForm::Items), Dither::None, 0, FrameForm::Items,
     ModeMasked},
    {"XorItems", Scene::Line, ModeMasked | ModeXor, Form(FrameForm::Items), Dither::Ordered, 0,
     FrameForm::Items, ModeMasked | ModeXor},
    {"FullScreen", Scene::Noise, 0, Form(FrameForm::FullScreen), Dither::None, 0, FrameForm::FullScreen, 0},
    {"LScreen", Scene::Noise, ModeMasked, Form(FrameForm::LScreen), Dither::None, 0, FrameForm::LScreen, 0},
    {"LScreenAttributes", Scene::Colours, ModeMasked | ModeXor | ModeAttributes, Form(FrameForm::LScreen),
     Dither::None, 0, FrameForm::LScreen, ModeAttributes},
    {"ItemsBetweenAttributeFrames", Scene::Colours, ModeMasked | ModeAttributes,
     Form(FrameForm::Items) | Form(FrameForm::LScreen), Dither::None, 0, FrameForm::Items, ModeAttributes},
    {"PackedAttributeGroups", Scene::Colours, kAll, Form(FrameForm::Packed), Dither::None, 0,
     FrameForm::Packed, ModePacked | ModeAttributes},
    {"PackedWithoutAttributes", Scene::Sprite, ModePacked, Form(FrameForm::Packed), Dither::None, 0,
     FrameForm::Packed, ModePacked},
    {"AnyDiffusion", Scene::Photo, kAll, 15, Dither::Diffusion, 0, FrameForm::LScreen, ModeAttributes},
    {"AnyOrderedThreshold", Scene::Photo, kAll, 15, Dither::Ordered, 12, FrameForm::LScreen, ModeAttributes},
    {"AnyColours", Scene::Colours, kAll, 15, Dither::Ordered, 0, FrameForm::LScreen, ModeAttributes},
};

class EncoderRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(EncoderRoundTrip, DecodesToTheCodedScreens) {
    const RoundTripCase& c = GetParam();
    EncodeOptions options;
    options.dither = c.dither;
    options.threshold = c.threshold;
    VideoEncoder encoder(options);
    encoder.SetAllowedModes(c.modes);
    encoder.SetAllowedForms(c.forms);
    const std::vector<std::uint8_t> stream = Encode(encoder, c.scene, 12);
    ExpectDecodesToScreens(stream, encoder);
    const EncodeStatistics& stats = encoder.Statistics();
    EXPECT_GT(stats.forms[static_cast<std::size_t>(c.expectedForm)].frames, 0u);
    EXPECT_EQ(stats.finalMode & c.expectedMode, c.expectedMode);
    EXPECT_EQ(stats.finalMode & ~c.modes, 0u);
    EXPECT_EQ(stats.streamBytes, stream.size());
}

INSTANTIATE_TEST_SUITE_P(FormsAndModes, EncoderRoundTrip, ::testing::ValuesIn(kRoundTrips),
                         [](const auto& param) { return std::string(param.param.name); });

// Regression: 39 frames of a sprite moving along the top row suit the packed form without
// attributes; then attributes change in every frame, with BRIGHT and FLASH. The planner must switch
// the attributes on before the packed form, which has no mode commands, and the packed attribute
// groups must drop FLASH, whose bit would end their data early.
TEST(EncoderScreens, PlannedScreensDecodeWhenTheFirstColourChangeComesLate) {
    VideoEncoder encoder{EncodeOptions{}};
    std::vector<Screen> screens(60);
    Screen screen{};
    std::fill(screen.begin() + kBitmapBytes, screen.end(), kWhiteOnBlack);
    for (int f = 0; f < 60; ++f) {
        for (int line = 0; line < 8; ++line) {
            screen[BitmapOffset(line, (f + 7) % 8)] = 0;
            screen[BitmapOffset(line, f % 8)] = 0x3C;
        }
        if (f >= 39) {
            screen[kBitmapBytes + static_cast<std::size_t>(f % 5)] = static_cast<std::uint8_t>(0xC0 + f);
            screen[kBitmapBytes + 9] = static_cast<std::uint8_t>(f << 2);
        }
        screens[static_cast<std::size_t>(f)] = screen;
        encoder.AddScreen(screen);
    }
    const auto result = encoder.Finish();
    ASSERT_TRUE(std::holds_alternative<std::vector<std::uint8_t>>(result)) << std::get<std::string>(result);
    EXPECT_EQ(encoder.Statistics().finalMode & (ModePacked | ModeAttributes), ModePacked | ModeAttributes);
    ExpectDecodesToScreens(std::get<std::vector<std::uint8_t>>(result), encoder, &screens);
}

TEST(EncoderHeader, CarriesTheFieldsAndCodePage866Texts) {
    EncodeOptions options;
    options.version = 1;
    options.name = "DEMO";
    options.delay = 3;
    options.title = "Привет, World! Ёё";
    options.author = "Автор № 1";
    VideoEncoder encoder(options);
    const std::vector<std::uint8_t> stream = Encode(encoder, Scene::Colours, 5);
    ASSERT_GT(stream.size(), kHeaderBytes + kLegacyExtraBytes);
    ExpectDecodesToScreens(stream, encoder);
    EXPECT_EQ(std::string(stream.begin(), stream.begin() + 3), "QZ\x01");
    EXPECT_EQ(std::string(stream.begin() + 3, stream.begin() + 11), std::string("DEMO\0\0\0\0", 8));
    EXPECT_EQ(stream[kHeaderFrameCount], 5);
    EXPECT_EQ(stream[kHeaderFrameCount + 1], 0);
    EXPECT_EQ(stream[kHeaderFrameDelay], 3);
    EXPECT_EQ(stream[kHeaderTitle], 0x8F);       // П
    EXPECT_EQ(stream[kHeaderTitle + 15], 0xF0);  // Ё
    // The player shows the zero padding as blanks.
    EXPECT_EQ(DosTextToUtf8(std::span(stream).subspan(kHeaderTitle, kHeaderTextBytes)),
              "Привет, World! Ёё" + std::string(15, ' '));
    EXPECT_EQ(DosTextToUtf8(std::span(stream).subspan(kHeaderAuthor, kHeaderTextBytes)),
              "Автор № 1" + std::string(23, ' '));
    unsigned blocks = 0;
    for (std::size_t i = kHeaderBlockList; stream[i] != 0; ++i) {
        blocks += stream[i];
    }
    EXPECT_EQ(blocks, (stream.size() + 255) / 256);
    EXPECT_TRUE(std::all_of(stream.begin() + kHeaderBytes, stream.begin() + kHeaderBytes + kLegacyExtraBytes,
                            [](std::uint8_t b) { return b == 0; }));
}

struct ErrorCase {
    const char* name;
    EncodeOptions options;
    int frames;
    const char* expected;  // from Finish; CheckOptions gives the same unless the frames are at fault
};

EncodeOptions With(void (*change)(EncodeOptions&)) {
    EncodeOptions o;
    change(o);
    return o;
}

TEST(EncoderErrors, AreOneLineTexts) {
    const ErrorCase cases[] = {
        {"no frames", {}, 0, "no frames to encode"},
        {"long title", With([](EncodeOptions& o) { o.title = std::string(33, 'x'); }), 1,
         "title is longer than 32 characters (33)"},
        {"Cyrillic fits",
         With([](EncodeOptions& o) { o.title = std::string(32 / 2, 'x') + "Юникод и ещё!!"; }), 1, ""},
        {"no such character", With([](EncodeOptions& o) { o.author = "price 5€"; }), 1,
         "author: character \"€\" (U+20AC) is not in code page 866"},
        {"name too long", With([](EncodeOptions& o) { o.name = "NINECHARS"; }), 1,
         "name must be 1 to 8 printable ASCII characters: \"NINECHARS\""},
        {"empty name", With([](EncodeOptions& o) { o.name = ""; }), 1,
         "name must be 1 to 8 printable ASCII characters: \"\""},
        {"version", With([](EncodeOptions& o) { o.version = 8; }), 1, "version must be 0 to 7, not 8"},
    };
    for (const ErrorCase& c : cases) {
        EXPECT_EQ(CheckOptions(c.options), c.frames == 0 ? "" : c.expected) << c.name;
        VideoEncoder encoder(c.options);
        for (int f = 0; f < c.frames; ++f) {
            encoder.AddFrame(Draw(Scene::Sprite, f));
        }
        auto result = encoder.Finish();
        const std::string* error = std::get_if<std::string>(&result);
        EXPECT_EQ(error == nullptr ? std::string() : *error, c.expected) << c.name;
    }
    VideoEncoder wrongSize{EncodeOptions{}};
    wrongSize.AddFrame(Picture(100));
    EXPECT_EQ(std::get<std::string>(wrongSize.Finish()), "picture 1 is not 256 x 192 RGB (100 bytes)");
}

}  // namespace
}  // namespace qzm::encoder
