#include "platform/system/TextCodec.h"

namespace korvyn::platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at bytes[i]; returns its length, or 0 when it is malformed
// (overlong, surrogate, beyond U+10FFFF or truncated).
std::size_t DecodeUtf8(const unsigned char* bytes, std::size_t count, std::size_t i, char32_t& cp) {
    const unsigned char b0 = bytes[i];
    std::size_t len = 0;
    char32_t min = 0;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > count)
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((bytes[i + k] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (bytes[i + k] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

} // namespace

std::size_t FirstInvalidUtf8(std::string_view utf8) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8(bytes, utf8.size(), i, cp);
        if (len == 0)
            return i;
        i += len;
    }
    return std::string_view::npos;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8(bytes, utf8.size(), i, cp);
        AppendUtf16(out, len ? cp : kReplacement);
        i += len ? len : 1;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    AppendUtf8(out, utf16);
    return out;
}

void AppendUtf8(std::string& out, std::u16string_view utf16) {
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp < 0x80) {
            out += static_cast<char>(cp);
            continue;
        }
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
}

std::size_t SystemBytesToWide(const BYTE* bytes, std::size_t count, WCHAR* out,
                              std::size_t maxUnits) {
    if (!bytes || !out)
        return 0;
    std::size_t end = 0;
    while (end < count && bytes[end] != 0)
        ++end;
    std::size_t written = 0;
    for (std::size_t i = 0; i < end;) {
        char32_t cp = 0;
        std::size_t len = DecodeUtf8(bytes, end, i, cp);
        if (len == 0) {
            cp = bytes[i]; // not UTF-8: keep the byte as its Latin-1 character
            len = 1;
        }
        const std::size_t units = cp >= 0x10000 ? 2 : 1;
        if (written + units > maxUnits)
            break;
        if (units == 2) {
            const char32_t v = cp - 0x10000;
            out[written++] = static_cast<WCHAR>(0xD800 + (v >> 10));
            out[written++] = static_cast<WCHAR>(0xDC00 + (v & 0x3FF));
        } else {
            out[written++] = static_cast<WCHAR>(cp);
        }
        i += len;
    }
    return written;
}

std::u16string SystemBytesToWide(std::string_view bytes) {
    // A character never takes more UTF-16 units than it took bytes.
    std::u16string wide(bytes.size(), u'\0');
    wide.resize(SystemBytesToWide(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size(),
                                  wide.data(), wide.size()));
    return wide;
}

std::string LowBytes(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text)
        out += static_cast<char>(c & 0xFF);
    return out;
}

namespace {

// Escapes text[i...] while out stays within maxBytes; returns the bytes taken.
std::size_t AppendEscaped(std::string& out, std::string_view text, std::size_t maxBytes) {
    static const char kHex[] = "0123456789abcdef";
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t cp = 0;
        std::size_t len = DecodeUtf8(bytes, text.size(), i, cp);
        const bool escape = len == 0 || cp < 0x20 || (cp >= 0x7F && cp <= 0x9F);
        if (len == 0) {
            cp = bytes[i];
            len = 1;
        }
        const std::size_t adds = escape ? 4 : len;
        if (out.size() + adds > maxBytes)
            break;
        if (escape) {
            out += "\\x";
            out += kHex[(cp >> 4) & 0xF];
            out += kHex[cp & 0xF];
        } else {
            out.append(text.substr(i, len));
        }
        i += len;
    }
    return i;
}

} // namespace

std::string EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendEscaped(out, text, std::string::npos);
    return out;
}

std::string QuoteExcerpt(std::string_view text, std::size_t maxBytes) {
    std::string out = "\"";
    const std::size_t taken = AppendEscaped(out, text, maxBytes + 1);
    if (taken < text.size())
        out += "...";
    out += '"';
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::size_t WideLength(const WCHAR* text) {
    std::size_t n = 0;
    if (text)
        while (text[n])
            ++n;
    return n;
}

} // namespace korvyn::platform
