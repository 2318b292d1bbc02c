#include "platform/sound/ToneWave.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>

namespace korvyn::platform {
namespace {

// Writes little-endian values and tags one after the other.
struct Writer {
    BYTE* at;
    void Put(std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            *at++ = static_cast<BYTE>(value >> (8 * i));
    }
    void Tag(const char* tag) {
        std::memcpy(at, tag, 4);
        at += 4;
    }
};

// 0 to 1 along half a cosine over `length` samples.
double Fade(std::size_t at, std::size_t length) {
    if (at >= length)
        return 1;
    return 0.5 -
           0.5 * std::cos(std::numbers::pi * static_cast<double>(at) / static_cast<double>(length));
}

} // namespace

std::vector<BYTE> MakeToneWave(const ToneShape& shape, DWORD samplesPerSecond) {
    // A tone is short: at most ten seconds at up to 384,000 samples per second.
    samplesPerSecond = std::clamp<DWORD>(samplesPerSecond, 1, 384000);
    const std::size_t frames =
        std::size_t{samplesPerSecond} * std::min<DWORD>(shape.milliseconds, 10000) / 1000;
    const std::size_t attack =
        std::min(frames, std::size_t{samplesPerSecond} * shape.attackMs / 1000);
    const std::size_t release =
        std::min(frames - attack, std::size_t{samplesPerSecond} * shape.releaseMs / 1000);
    const auto dataBytes = static_cast<std::uint32_t>(frames * 2);

    std::vector<BYTE> out(44 + std::size_t{dataBytes});
    Writer w{out.data()};
    w.Tag("RIFF");
    w.Put(36 + dataBytes, 4);
    w.Tag("WAVE");
    w.Tag("fmt ");
    w.Put(16, 4);
    w.Put(1, 2); // PCM
    w.Put(1, 2); // one channel
    w.Put(samplesPerSecond, 4);
    w.Put(samplesPerSecond * 2, 4);
    w.Put(2, 2);
    w.Put(16, 2);
    w.Tag("data");
    w.Put(dataBytes, 4);

    const double peak = std::clamp(shape.amplitude, 0.0, 1.0) * 32767.0;
    const double step = 2 * std::numbers::pi * shape.frequency / samplesPerSecond;
    for (std::size_t i = 0; i < frames; ++i) {
        // The last sample is the first of silence, so the fade out ends at zero.
        const double envelope = Fade(i, attack) * Fade(frames - 1 - i, release);
        const double value = std::round(peak * envelope * std::sin(step * static_cast<double>(i)));
        w.Put(static_cast<std::uint16_t>(static_cast<std::int16_t>(value)), 2);
    }
    return out;
}

} // namespace korvyn::platform
