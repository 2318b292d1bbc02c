#pragma once
// A short tone made in memory as a RIFF WAVE file (16-bit PCM, one channel), ready for
// PlaySound with SND_MEMORY. The sine rises and falls along half a cosine at each end,
// so that the tone starts and stops without a click of its own.
#include "platform/WinTypes.h"

#include <vector>

namespace korvyn::platform {

struct ToneShape {
    double frequency = 440;  // Hz
    DWORD milliseconds = 70; // the whole tone, fades included
    double amplitude = 0.25; // of full scale, 0 to 1
    DWORD attackMs = 8;      // fade in
    DWORD releaseMs = 15;    // fade out
};

constexpr DWORD kToneSampleRate = 22050;

// The whole file: a 44-byte header, then samplesPerSecond * milliseconds / 1000 samples
// (at most ten seconds' worth).
std::vector<BYTE> MakeToneWave(const ToneShape& shape, DWORD samplesPerSecond = kToneSampleRate);

} // namespace korvyn::platform
