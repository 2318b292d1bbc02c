#pragma once
// The adapter layer's diagnostic trace. Every format begins with "%s: " and the first
// argument names the reporting operation; "%S" takes a UTF-16 adapter name.
// The release build discards every message without formatting it; a build configured
// with KORVYN_TRACE=ON appends each one as a time-stamped line to dizov.txt in the
// documents folder.
#include <cstdarg>
#include <string>

namespace korvyn {

// printf-style formatting with the trace's conversions: %s, %S (UTF-16, written as
// UTF-8), %d, %i, %u, %x, %X, %c, %p and %%, with flags, width and precision.
std::string FormatTrace(const char* format, va_list args);
std::string FormatTraceArgs(const char* format, ...);

}  // namespace korvyn

#if defined(KORVYN_TRACE) && KORVYN_TRACE
void TraceMessage(const char* format, ...);
#else
inline void TraceMessage(const char*, ...) {}
#endif
