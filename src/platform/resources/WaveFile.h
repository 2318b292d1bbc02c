#pragma once
// The header of a RIFF WAVE sound, as held by the program's "WAVE" resources.
#include "platform/WinTypes.h"

#include <cstddef>
#include <span>

namespace korvyn::platform {

constexpr WORD WAVE_FORMAT_PCM = 1;

struct WaveFormat {
    WORD formatTag = 0; // WAVE_FORMAT_PCM for plain samples
    WORD channels = 0;
    DWORD samplesPerSecond = 0;
    DWORD averageBytesPerSecond = 0;
    WORD blockAlign = 0;
    WORD bitsPerSample = 0;
    std::span<const BYTE> samples; // the "data" chunk, inside the parsed bytes
};

// Reads the "fmt " and "data" chunks of a RIFF WAVE file. False when the file is not
// RIFF WAVE, lacks either chunk, or a chunk runs past the end of the bytes.
bool ParseWave(const BYTE* data, std::size_t size, WaveFormat& out);

} // namespace korvyn::platform
