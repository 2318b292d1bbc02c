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
// Where the first byte that is not part of valid UTF-8 stands; npos when there is none.
std::size_t FirstInvalidUtf8(std::string_view utf8);
// Utf16ToUtf8 onto the end of out.
void AppendUtf8(std::string& out, std::u16string_view utf16);

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

// Text safe for a terminal: every control character (C0, DEL and C1) and every byte that
// is not part of valid UTF-8 becomes "\xHH"; other UTF-8 text is kept as it is. A network
// name or a line of a file can hold escape sequences, which must not reach the terminal.
std::string EscapeControls(std::string_view text);

// File content quoted for a message: escaped as above, in double quotes, and cut after
// about maxBytes bytes of it (with "..." then), so a long line gives a short message.
std::string QuoteExcerpt(std::string_view text, std::size_t maxBytes = 40);

// Length of a NUL-terminated UTF-16 string.
std::size_t WideLength(const WCHAR* text);

} // namespace korvyn::platform
