#include "platform/resources/WaveFile.h"

#include <algorithm>
#include <cstring>

namespace korvyn::platform {

namespace {

template <typename T> T Read(const BYTE* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

bool IsTag(const BYTE* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

} // namespace

bool ParseWave(const BYTE* data, std::size_t size, WaveFormat& out) {
    if (!data || size < 12 || !IsTag(data, "RIFF") || !IsTag(data + 8, "WAVE"))
        return false;
    // The RIFF size may claim less than the bytes hold; chunks stay within both.
    const std::size_t end = std::min<std::size_t>(size, std::size_t{Read<DWORD>(data + 4)} + 8);
    WaveFormat result;
    bool haveFormat = false;
    bool haveData = false;
    std::size_t pos = 12;
    while (pos + 8 <= end && !(haveFormat && haveData)) {
        const BYTE* chunk = data + pos;
        const std::size_t length = Read<DWORD>(chunk + 4);
        if (length > end - pos - 8)
            return false;
        const BYTE* body = chunk + 8;
        if (IsTag(chunk, "fmt ")) {
            if (length < 16)
                return false;
            result.formatTag = Read<WORD>(body);
            result.channels = Read<WORD>(body + 2);
            result.samplesPerSecond = Read<DWORD>(body + 4);
            result.averageBytesPerSecond = Read<DWORD>(body + 8);
            result.blockAlign = Read<WORD>(body + 12);
            result.bitsPerSample = Read<WORD>(body + 14);
            haveFormat = true;
        } else if (IsTag(chunk, "data")) {
            result.samples = std::span<const BYTE>(body, length);
            haveData = true;
        }
        // Chunks are padded to an even length.
        pos += 8 + length + (length & 1);
        pos = std::min(pos, end);
    }
    if (!haveFormat || !haveData)
        return false;
    out = result;
    return true;
}

} // namespace korvyn::platform
