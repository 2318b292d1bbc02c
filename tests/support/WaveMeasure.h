#pragma once
// What a 16-bit mono PCM wave file sounds like, measured from its samples: its length,
// its pitch (from the spacing of its zero crossings), its loudest sample and the loudest
// within its first and last millisecond.
#include "platform/resources/WaveFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace korvyn::test {

struct MeasuredWave {
    bool pcm16Mono = false;
    std::size_t frames = 0;
    double milliseconds = 0;
    double hertz = 0;
    int peak = 0;
    int edges = 0;
};

inline MeasuredWave Measure(const BYTE* data, std::size_t size) {
    MeasuredWave m;
    platform::WaveFormat f;
    if (!platform::ParseWave(data, size, f) || f.formatTag != platform::WAVE_FORMAT_PCM ||
        f.channels != 1 || f.bitsPerSample != 16 || f.blockAlign != 2 ||
        f.averageBytesPerSecond != 2 * f.samplesPerSecond || f.samplesPerSecond == 0)
        return m;
    m.pcm16Mono = true;
    m.frames = f.samples.size() / 2;
    m.milliseconds = 1000.0 * static_cast<double>(m.frames) / f.samplesPerSecond;
    const std::size_t edge = f.samplesPerSecond / 1000;
    int sign = 0, changes = 0;
    std::size_t first = 0, last = 0;
    for (std::size_t i = 0; i < m.frames; ++i) {
        std::int16_t s;
        std::memcpy(&s, f.samples.data() + 2 * i, 2);
        m.peak = std::max(m.peak, std::abs(int{s}));
        if (i < edge || i + edge >= m.frames)
            m.edges = std::max(m.edges, std::abs(int{s}));
        if (s != 0 && (s > 0 ? 1 : -1) != sign) {
            if (sign != 0 && changes++ == 0)
                first = i;
            last = i;
            sign = s > 0 ? 1 : -1;
        }
    }
    if (changes > 1)
        m.hertz = (changes - 1) / 2.0 * f.samplesPerSecond / static_cast<double>(last - first);
    return m;
}

} // namespace korvyn::test
