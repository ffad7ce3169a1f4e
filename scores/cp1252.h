// Player names are kept one byte per character in Windows-1252 (Latin-1 plus
// the printable characters at 0x80-0x9F), so a name of 25 characters always
// fills exactly its 25-byte field in the high-score file.
#pragma once

#include <string>
#include <string_view>

namespace stonerush {

// Each character of the UTF-8 text becomes one byte; a character outside
// Windows-1252 (or a malformed UTF-8 byte) becomes one '?'.
std::string cp1252FromUtf8(std::string_view utf8);

// Each byte becomes one character. The five bytes Windows-1252 leaves unused
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) read as the control characters of the same
// number, so any bytes read back from the file are written back unchanged.
std::string utf8FromCp1252(std::string_view bytes);

}  // namespace stonerush
