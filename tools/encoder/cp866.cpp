// UTF-8 text to DOS code page 866 for the stream header's title and author.
#include <array>
#include <cstdio>

#include "video_encoder.h"

namespace qzm::encoder {
namespace {

// Code points of 0xB0-0xFF of code page 866: box drawing and blocks, р-я, then Ё ё Є є Ї ї Ў ў
// ° ∙ · √ № ¤ ■ and the no-break space.
constexpr std::array<char32_t, 80> kUpperHalf{
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // B0
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,  // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,  // C8
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // D0
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,  // D8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // E0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // E8
    0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,  // F0
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0,  // F8
};

std::optional<std::uint8_t> ToCp866(char32_t c) {
    if (c >= 0x20 && c < 0x7F) {
        return static_cast<std::uint8_t>(c);
    }
    if (c >= 0x0410 && c <= 0x043F) {  // А-Я, а-п
        return static_cast<std::uint8_t>(0x80 + (c - 0x0410));
    }
    for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
        if (kUpperHalf[i] == c) {
            return static_cast<std::uint8_t>(0xB0 + i);
        }
    }
    return std::nullopt;
}

// Decodes one UTF-8 sequence at `pos`; false on a malformed or overlong one.
bool NextCodePoint(std::string_view s, std::size_t& pos, char32_t& c) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    int extra = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        c = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        c = lead & 0x1Fu, extra = 1, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        c = lead & 0x0Fu, extra = 2, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        c = lead & 0x07u, extra = 3, minimum = 0x10000;
    } else {
        return false;
    }
    if (static_cast<std::size_t>(extra) > s.size() - pos - 1) {
        return false;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + static_cast<std::size_t>(i)]);
        if ((b & 0xC0) != 0x80) {
            return false;
        }
        c = (c << 6) | (b & 0x3Fu);
    }
    pos += static_cast<std::size_t>(extra) + 1;
    return c >= minimum && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

}  // namespace

std::optional<std::string> Utf8ToCp866(std::string_view utf8, std::string* error) {
    std::string out;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        char32_t c = 0;
        if (!NextCodePoint(utf8, pos, c)) {
            if (error != nullptr) {
                *error = "the text is not valid UTF-8";
            }
            return std::nullopt;
        }
        const std::optional<std::uint8_t> b = ToCp866(c);
        if (!b) {
            if (error != nullptr) {
                char code[16];
                std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
                const bool printable = c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0);
                *error = printable ? "character \"" + std::string(utf8.substr(start, pos - start)) + "\" (" +
                                         code + ") is not in code page 866"
                                   : std::string("character ") + code + " is not in code page 866";
            }
            return std::nullopt;
        }
        out += static_cast<char>(*b);
    }
    return out;
}

}  // namespace qzm::encoder
