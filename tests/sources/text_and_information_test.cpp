// Header texts in code page 866 shown in UTF-8, and the nine rows of file information.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dos_text.h"
#include "file_information.h"
#include "stream_builder.h"

namespace qzm {
namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<std::uint8_t> out;
    for (const int v : values) {
        out.push_back(static_cast<std::uint8_t>(v));
    }
    return out;
}

TEST(DosToWinTable, HoldsTheCorrespondenceWithItsDisplayChoices) {
    EXPECT_EQ(DosToWinTable[0x00], 0x20);
    EXPECT_EQ(DosToWinTable[0xFF], 0x00);
    for (int b = 0x01; b <= 0x7F; ++b) {
        EXPECT_EQ(DosToWinTable[b], b);
    }
    for (int b = 0x80; b <= 0xAF; ++b) {
        EXPECT_EQ(DosToWinTable[b], b + 0x40);
    }
    for (int b = 0xE0; b <= 0xEF; ++b) {
        EXPECT_EQ(DosToWinTable[b], b + 0x10);
    }
    const std::pair<int, std::vector<std::uint8_t>> rows[] = {
        {0xB0, Bytes({0x2D, 0x2D, 0x2D, 0xA6, 0x2B, 0xA6, 0xA6, 0xAC, 0xAC, 0xA6, 0xA6, 0xAC, 0x2D, 0x2D,
                      0x2D, 0xAC})},
        {0xC0, Bytes({0x4C, 0x2B, 0x54, 0x2B, 0x2D, 0x2B, 0xA6, 0xA6, 0x4C, 0xE3, 0xA6, 0x54, 0xA6, 0x3D,
                      0x2B, 0xA6})},
        {0xD0, Bytes({0xA6, 0x54, 0x54, 0x4C, 0x4C, 0x2D, 0xE3, 0x2B, 0x2B, 0x2D, 0x2D, 0x2D, 0x2D, 0xA6,
                      0xA6, 0x2D})},
        {0xF0, Bytes({0xA8, 0xB8, 0xAA, 0xBA, 0xAF, 0xBF, 0xA1, 0xA2, 0xB0, 0x95, 0xB7, 0x76, 0xB9, 0xA4,
                      0xA6, 0x00})},
    };
    for (const auto& [first, row] : rows) {
        EXPECT_TRUE(std::equal(row.begin(), row.end(), DosToWinTable.begin() + first)) << std::hex << first;
    }
}

TEST(DosText, ConvertsCyrillicSymbolsAndPseudoGraphicsToUtf8) {
    EXPECT_EQ(DosTextToUtf8(Bytes({0x8F, 0xE0, 0xA8, 0xA2, 0xA5, 0xE2})), "Привет");
    EXPECT_EQ(DosTextToUtf8(Bytes({0xF0, 0xF1, 0xFC, 0xFB, 0xF9})), "Ёё№v•");
    EXPECT_EQ(DosTextToUtf8(Bytes({0xB3, 0xC4, 0xBF, 0xC9})), "¦-¬г");
}

TEST(DosText, ZeroBytesShowAsBlanksAndNoBreakSpaceEndsTheText) {
    std::vector<std::uint8_t> title(32, 0);
    title[0] = 'A';
    EXPECT_EQ(DosTextToUtf8(title), "A" + std::string(31, ' '));
    std::fill(title.begin(), title.end(), 'x');
    title[10] = 0xFF;
    EXPECT_EQ(DosTextToUtf8(title), std::string(10, 'x'));
}

TEST(WindowsText, ShowsBytesAsWindows1251UpToAZeroByte) {
    EXPECT_EQ(WindowsTextToUtf8(Bytes({'C', 'l', 0xC0, 0xFF, 0xB9, 0x98, 0, 'X'})), "ClАя№\uFFFD");
}

StreamHeader Header(std::uint8_t delay, std::uint16_t frames, std::vector<std::uint8_t> blocks) {
    authoring::HeaderFields fields;
    fields.frameDelay = delay;
    fields.frameCount = frames;
    fields.blocks = std::move(blocks);
    authoring::StreamBuilder builder;
    builder.Header(fields);
    StreamHeader header;
    std::copy_n(builder.Data().begin(), kHeaderBytes, header.bytes.begin());
    return header;
}

std::vector<std::string> Values(const StreamHeader& header) {
    std::vector<std::string> values;
    for (const InfoRow& row : FileInformation(header)) {
        values.push_back(row.value);
    }
    return values;
}

TEST(FileInformation, EmptyPlayerHeaderShowsZerosAndFiftyFramesPerSecond) {
    const std::array<InfoRow, 9> rows = FileInformation(StreamHeader::Empty());
    const char* labels[] = {"Filename:",  "Version:",  "Clip:",     "Author:", "Frames:",
                            "Framerate:", "Duration:", "Filesize:", "Bitrate:"};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].label, labels[i]);
    }
    EXPECT_EQ(Values(StreamHeader::Empty()),
              (std::vector<std::string>{"", "0", std::string(32, ' '), std::string(32, ' '), "0", "50.00 fps",
                                        "0 min  0 sec  0 frm", "0 blocks (0.0 kbytes)", "0 bytes/sec"}));
}

TEST(FileInformation, RateDurationSizeAndBitRateFromDelayFramesAndBlocks) {
    const std::vector<std::string> values = Values(Header(2, 3000, {200, 250, 150}));
    EXPECT_EQ(std::vector<std::string>(values.begin() + 4, values.end()),
              (std::vector<std::string>{"3000", "25.00 fps", "2 min  0 sec  0 frm",
                                        "600 blocks (150.0 kbytes)", "1280 bytes/sec"}));
    const std::vector<std::string> odd = Values(Header(3, 1234, {}));
    EXPECT_EQ(odd[5], "16.67 fps");
    EXPECT_EQ(odd[6], "1 min  14 sec  2 frm");
}

TEST(FileInformation, DelayZeroShowsNoRateAndCountsOneTickForTheBitRate) {
    const std::vector<std::string> values = Values(Header(0, 500, {10}));
    EXPECT_EQ(values[5], "n/a (delay 0)");
    EXPECT_EQ(values[6], "0 min  0 sec  0 frm");
    EXPECT_EQ(values[8], "128000 bytes/sec");
}

TEST(FileInformation, BlockListFillingTheWholeHeaderIsSummedWithoutOverflow) {
    const std::vector<std::string> values = Values(Header(1, 1, std::vector<std::uint8_t>(175, 254)));
    EXPECT_EQ(values[7], "44450 blocks (11112.5 kbytes)");
    EXPECT_EQ(values[8], "568960000 bytes/sec");
}

TEST(FileInformation, NameEndsAtAZeroByteAndTextsGoThroughTheDosTable) {
    StreamHeader header = Header(2, 10, {1});
    const std::uint8_t name[8] = {'C', 'L', 'I', 'P', 0, 'X', 'Y', 'Z'};
    std::copy(std::begin(name), std::end(name), header.bytes.begin() + kHeaderName);
    std::fill_n(header.bytes.begin() + kHeaderTitle, kHeaderTextBytes, 'T');
    header.bytes[kHeaderTitle + 10] = 0xFF;
    const std::uint8_t author[] = {0x8F, 0xE0, 0xA8, 0xA2, 0xA5, 0xE2};
    std::copy(std::begin(author), std::end(author), header.bytes.begin() + kHeaderAuthor);
    const std::vector<std::string> values = Values(header);
    EXPECT_EQ(values[0], "CLIP");
    EXPECT_EQ(values[2], std::string(10, 'T'));
    EXPECT_EQ(values[3], "Привет" + std::string(26, ' '));
}

}  // namespace
}  // namespace qzm
