// Text of the Spectrum side for display: stream header texts in DOS code page 866 and catalogue
// names, turned into UTF-8.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace qzm {

// Turns a byte of code page 866 into a Windows-1251 character. Zero becomes a blank, so zero
// padding shows as blanks; 0xFF (the no-break space) becomes zero, which ends the text. The
// pseudo-graphics and the symbols of 0xF0-0xFE become look-alikes.
extern const std::array<std::uint8_t, 256> DosToWinTable;

// Code page 866 text to UTF-8, each byte through DosToWinTable; stops where the table gives zero.
std::string DosTextToUtf8(std::span<const std::uint8_t> text);

// Bytes shown as they are, in Windows-1251 (catalogue names, the header's name), to UTF-8; stops at
// the first zero byte.
std::string WindowsTextToUtf8(std::span<const std::uint8_t> text);

}  // namespace qzm
