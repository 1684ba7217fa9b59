// Header texts in code page 866 shown in UTF-8, and the nine rows of file information.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "dos_text.h"
#include "file_information.h"
#include "stream_builder.h"

namespace qzm {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

TEST(DosToWinTable, HoldsTheCorrespondenceWithItsDisplayChoices) {
    EXPECT_EQ(DosToWinTable[0x00], 0x20);
    for (int b = 0x01; b <= 0xEF; ++b) {  // the pseudo-graphics of 0xB0-0xDF follow below
        if (b < 0xB0 || b >= 0xE0) {
            EXPECT_EQ(DosToWinTable[b], b < 0x80 ? b : b < 0xB0 ? b + 0x40 : b + 0x10) << std::hex << b;
        }
    }
    const std::pair<int, std::string_view> rows[] = {
        {0xB0, "\x2D\x2D\x2D\xA6\x2B\xA6\xA6\xAC\xAC\xA6\xA6\xAC\x2D\x2D\x2D\xAC"},
        {0xC0, "\x4C\x2B\x54\x2B\x2D\x2B\xA6\xA6\x4C\xE3\xA6\x54\xA6\x3D\x2B\xA6"},
        {0xD0, "\xA6\x54\x54\x4C\x4C\x2D\xE3\x2B\x2B\x2D\x2D\x2D\x2D\xA6\xA6\x2D"},
        {0xF0, std::string_view("\xA8\xB8\xAA\xBA\xAF\xBF\xA1\xA2\xB0\x95\xB7\x76\xB9\xA4\xA6\x00", 16)},
    };
    for (const auto& [first, row] : rows) {
        EXPECT_EQ(Bytes(row), std::vector<std::uint8_t>(DosToWinTable.begin() + first,
                                                        DosToWinTable.begin() + first + 16))
            << std::hex << first;
    }
}

TEST(DosText, ShowsCodePage866AndCatalogueNamesInUtf8) {
    EXPECT_EQ(DosTextToUtf8(Bytes("\x8F\xE0\xA8\xA2\xA5\xE2")), "Привет");
    EXPECT_EQ(DosTextToUtf8(Bytes("\xF0\xF1\xFC\xFB\xF9")), "Ёё№v•");
    EXPECT_EQ(DosTextToUtf8(Bytes("\xB3\xC4\xBF\xC9")), "¦-¬г");
    EXPECT_EQ(DosTextToUtf8(Bytes(std::string_view("A\0\0", 3))), "A  ");       // zero bytes show as blanks
    EXPECT_EQ(DosTextToUtf8(Bytes("xxxxxxxxxx\xFFxx")), std::string(10, 'x'));  // no-break space ends it
    // Catalogue names are Windows-1251 up to a zero byte.
    EXPECT_EQ(WindowsTextToUtf8(Bytes(std::string_view("Cl\xC0\xFF\xB9\x98\0X", 8))), "ClАя№\uFFFD");
}

std::vector<std::string> Values(const StreamHeader& header) {
    std::vector<std::string> values;
    for (const InfoRow& row : FileInformation(header)) {
        values.push_back(row.value);
    }
    return values;
}

StreamHeader Header(std::uint8_t delay, std::uint16_t frames, std::vector<std::uint8_t> blocks) {
    testing::StreamBuilder builder;
    builder.Header({.frameCount = frames, .frameDelay = delay, .blocks = std::move(blocks)});
    StreamHeader header;
    std::copy_n(builder.Data().begin(), kHeaderBytes, header.bytes.begin());
    return header;
}

// The rows from Frames on: the rate, duration (in ticks of 1/50 s), size and bit rate follow from
// the delay, the frame count and the block list. A delay of 0 shows no rate and plays, so counts,
// as a delay of 1; a block list filling the whole header is summed without overflow. The player's
// empty header shows zeros and fifty frames per second (its labels are checked with the dialog).
TEST(FileInformation, RateDurationSizeAndBitRateFromDelayFramesAndBlocks) {
    using Rows = std::vector<std::string>;
    const auto rows = [](std::uint8_t delay, std::uint16_t frames, std::vector<std::uint8_t> blocks) {
        const Rows values = Values(Header(delay, frames, std::move(blocks)));
        return Rows(values.begin() + 4, values.end());
    };
    EXPECT_EQ(Values(StreamHeader::Empty()),
              (Rows{"", "0", std::string(32, ' '), std::string(32, ' '), "0", "50.00 fps",
                    "0 min  0 sec  0 frm", "0 blocks (0.0 kbytes)", "0 bytes/sec"}));
    EXPECT_EQ(rows(2, 3000, {200, 250, 150}), (Rows{"3000", "25.00 fps", "2 min  0 sec  0 frm",
                                                    "600 blocks (150.0 kbytes)", "1280 bytes/sec"}));
    EXPECT_EQ(rows(3, 1234, {}),
              (Rows{"1234", "16.67 fps", "1 min  14 sec  2 frm", "0 blocks (0.0 kbytes)", "0 bytes/sec"}));
    EXPECT_EQ(rows(0, 500, {10}), (Rows{"500", "n/a (delay 0)", "0 min  10 sec  0 frm",
                                        "10 blocks (2.5 kbytes)", "256 bytes/sec"}));
    EXPECT_EQ(rows(1, 1, std::vector<std::uint8_t>(175, 254)),
              (Rows{"1", "50.00 fps", "0 min  0 sec  1 frm", "44450 blocks (11112.5 kbytes)",
                    "568960000 bytes/sec"}));
}

TEST(FileInformation, NameEndsAtAZeroByteAndTextsGoThroughTheDosTable) {
    StreamHeader header = Header(2, 10, {1});
    std::ranges::copy(std::string_view("CLIP\0XYZ", 8), header.bytes.begin() + kHeaderName);
    std::fill_n(header.bytes.begin() + kHeaderTitle, kHeaderTextBytes, 'T');
    header.bytes[kHeaderTitle + 10] = 0xFF;
    std::ranges::copy(std::string_view("\x8F\xE0\xA8\xA2\xA5\xE2"), header.bytes.begin() + kHeaderAuthor);
    const std::vector<std::string> values = Values(header);
    EXPECT_EQ(values[0], "CLIP");
    EXPECT_EQ(values[2], std::string(10, 'T'));
    EXPECT_EQ(values[3], "Привет" + std::string(26, ' '));
}

}  // namespace
}  // namespace qzm
