#include "wifi/TraceMessage.h"

#include "platform/WinTypes.h"
#include "platform/system/DocumentsFolder.h"
#include "platform/system/SystemTime.h"
#include "platform/system/TextCodec.h"

#include <cstdio>
#include <fstream>

namespace korvyn {
namespace {

// One "%s"-style conversion (with its flags, width and precision) of any length.
std::string FormatString(const std::string& conversion, const char* text) {
    const int n = std::snprintf(nullptr, 0, conversion.c_str(), text);
    std::string piece(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    std::snprintf(piece.data(), piece.size() + 1, conversion.c_str(), text);
    return piece;
}

} // namespace

std::string FormatTrace(const char* format, va_list args) {
    std::string out;
    if (!format)
        return out;
    for (const char* p = format; *p;) {
        if (*p != '%') {
            out += *p++;
            continue;
        }
        // Collect one conversion: flags, width, precision, length, then the type.
        const char* start = p++;
        while (*p && std::string_view("-+ #0").find(*p) != std::string_view::npos)
            ++p;
        while (*p >= '0' && *p <= '9')
            ++p;
        if (*p == '.') {
            ++p;
            while (*p >= '0' && *p <= '9')
                ++p;
        }
        bool isLong = false;
        while (*p == 'l' || *p == 'h') {
            isLong = isLong || *p == 'l';
            ++p;
        }
        if (!*p)
            break;
        const char type = *p++;
        std::string conversion(start, p);
        char buffer[64];
        switch (type) {
        case '%':
            out += '%';
            break;
        case 'S': {
            const auto* wide = va_arg(args, const WCHAR*);
            const std::string text =
                wide ? platform::Utf16ToUtf8(std::u16string_view(wide, platform::WideLength(wide)))
                     : std::string("(null)");
            conversion.back() = 's';
            out += FormatString(conversion, text.c_str());
            break;
        }
        case 's': {
            const char* text = va_arg(args, const char*);
            out += FormatString(conversion, text ? text : "(null)");
            break;
        }
        case 'd':
        case 'i':
        case 'c':
            if (isLong)
                std::snprintf(buffer, sizeof buffer, conversion.c_str(), va_arg(args, long));
            else
                std::snprintf(buffer, sizeof buffer, conversion.c_str(), va_arg(args, int));
            out += buffer;
            break;
        case 'u':
        case 'x':
        case 'X':
            if (isLong)
                std::snprintf(buffer, sizeof buffer, conversion.c_str(),
                              va_arg(args, unsigned long));
            else
                std::snprintf(buffer, sizeof buffer, conversion.c_str(), va_arg(args, unsigned));
            out += buffer;
            break;
        case 'p':
            std::snprintf(buffer, sizeof buffer, conversion.c_str(), va_arg(args, void*));
            out += buffer;
            break;
        default:
            out += conversion; // unknown conversion: shown as written, consumes nothing
            break;
        }
    }
    return out;
}

std::string FormatTraceArgs(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatTrace(format, args);
    va_end(args);
    return text;
}

} // namespace korvyn

#if defined(KORVYN_TRACE) && KORVYN_TRACE
void TraceMessage(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = korvyn::FormatTrace(format, args);
    va_end(args);

    SYSTEMTIME now{};
    GetLocalTime(&now);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    // A trace that cannot be written is dropped: it must never disturb the program.
    std::error_code ec;
    if (!korvyn::platform::EnsureDocumentsFolder(ec))
        return;
    std::ofstream out(korvyn::platform::HostPathForDevicePath("My Documents\\dizov.txt"),
                      std::ios::app);
    if (out)
        out << stamp << text << '\n';
}
#endif
