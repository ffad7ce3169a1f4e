#include "scores/cp1252.h"

#include <array>
#include <cstdint>

namespace stonerush {
namespace {

// The characters of bytes 0x80 to 0x9F; everything else maps to itself.
constexpr std::array<char32_t, 32> highControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char replacement = '?';

char byteForCharacter(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < highControls.size(); ++i) {
        if (highControls[i] == c) return static_cast<char>(0x80 + i);
    }
    return replacement;
}

char32_t characterForByte(unsigned char b) {
    if (b >= 0x80 && b < 0xA0) return highControls[b - 0x80];
    return b;
}

// Reads one character from the front of `text`, consuming its bytes. A
// malformed sequence consumes one byte and yields an impossible code point.
char32_t nextCharacter(std::string_view& text) {
    constexpr char32_t invalid = 0xFFFFFFFF;
    const auto lead = static_cast<unsigned char>(text[0]);
    int length = 0;
    char32_t c = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
        text.remove_prefix(1);
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, smallest = 0x10000;
    } else {
        text.remove_prefix(1);
        return invalid;
    }
    if (text.size() < static_cast<std::size_t>(length)) {
        text.remove_prefix(1);
        return invalid;
    }
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) {
            text.remove_prefix(1);
            return invalid;
        }
        c = (c << 6) | (next & 0x3F);
    }
    text.remove_prefix(length);
    const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
    return (c < smallest || c > 0x10FFFF || surrogate) ? invalid : c;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string cp1252FromUtf8(std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    while (!utf8.empty()) bytes += byteForCharacter(nextCharacter(utf8));
    return bytes;
}

std::string utf8FromCp1252(std::string_view bytes) {
    std::string utf8;
    utf8.reserve(bytes.size() * 2);
    // Every Windows-1252 character lies in the Basic Multilingual Plane.
    for (const char b : bytes) appendUtf8(utf8, characterForByte(static_cast<unsigned char>(b)));
    return utf8;
}

}  // namespace stonerush
