#pragma once
// Conversions between the UTF-16 text of the user interface and 8-bit text.
#include "platform/WinTypes.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace korvyn::platform {

// Strict UTF-8 <-> UTF-16; malformed input becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// The platform's multibyte-to-wide conversion for the current code page, UTF-8 on Linux.
// Network names are raw bytes, so a byte that is not part of valid UTF-8 is taken as the
// Latin-1 character of the same value rather than lost. Stops at the first zero byte
// and writes at most maxUnits units (a character that would not fit whole is left out).
// Returns the number of units written; no terminator is added.
std::size_t SystemBytesToWide(const BYTE* bytes, std::size_t count, WCHAR* out,
                              std::size_t maxUnits);
// The same for a whole 8-bit string (up to its first zero byte).
std::u16string SystemBytesToWide(std::string_view bytes);

// The file layer's 8-bit copy of a wide name: the low byte of each unit.
std::string LowBytes(std::u16string_view text);

// The value of a hexadecimal digit (either case), or -1 for any other character.
int HexDigit(char c);

// Length of a NUL-terminated UTF-16 string.
std::size_t WideLength(const WCHAR* text);

} // namespace korvyn::platform
