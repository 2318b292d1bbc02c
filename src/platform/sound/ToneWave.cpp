#include "platform/sound/ToneWave.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace korvyn::platform {
namespace {

void Put16(std::vector<BYTE>& out, std::uint16_t v) {
    out.push_back(static_cast<BYTE>(v));
    out.push_back(static_cast<BYTE>(v >> 8));
}

void Put32(std::vector<BYTE>& out, std::uint32_t v) {
    Put16(out, static_cast<std::uint16_t>(v));
    Put16(out, static_cast<std::uint16_t>(v >> 16));
}

void PutTag(std::vector<BYTE>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

// 0 to 1 along half a cosine over `length` samples.
double Fade(std::size_t at, std::size_t length) {
    if (at >= length)
        return 1;
    return 0.5 -
           0.5 * std::cos(std::numbers::pi * static_cast<double>(at) / static_cast<double>(length));
}

} // namespace

std::vector<BYTE> MakeToneWave(const ToneShape& shape, DWORD samplesPerSecond) {
    const std::size_t frames = std::size_t{samplesPerSecond} * shape.milliseconds / 1000;
    const std::size_t attack =
        std::min(frames, std::size_t{samplesPerSecond} * shape.attackMs / 1000);
    const std::size_t release =
        std::min(frames - attack, std::size_t{samplesPerSecond} * shape.releaseMs / 1000);
    const auto dataBytes = static_cast<std::uint32_t>(frames * 2);

    std::vector<BYTE> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    Put32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, 1); // one channel
    Put32(out, samplesPerSecond);
    Put32(out, samplesPerSecond * 2);
    Put16(out, 2);
    Put16(out, 16);
    PutTag(out, "data");
    Put32(out, dataBytes);

    const double peak = std::clamp(shape.amplitude, 0.0, 1.0) * 32767.0;
    const double step = 2 * std::numbers::pi * shape.frequency / samplesPerSecond;
    for (std::size_t i = 0; i < frames; ++i) {
        // The last sample is the first of silence, so the fade out ends at zero.
        const double envelope = Fade(i, attack) * Fade(frames - 1 - i, release);
        const double value = std::round(peak * envelope * std::sin(step * static_cast<double>(i)));
        Put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(value)));
    }
    return out;
}

} // namespace korvyn::platform
