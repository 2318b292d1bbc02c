// The meter's pitch for each signal, and its tones and click as heard from their samples.
#include "core/MeterSound.h"

#include "platform/resources/WaveFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using korvyn::MeterSound;

namespace {

double Pitch(LONG rssi) {
    return MeterSound::Frequency(MeterSound::Step(rssi));
}

// A 16-bit mono wave's length, pitch (from its zero crossings), loudest sample, and
// loudest within its first and last millisecond; all 0 for anything else.
struct Heard {
    double ms = 0, hertz = 0;
    int peak = 0, edges = 0;
};
Heard Listen(const std::vector<BYTE>& wave) {
    korvyn::platform::WaveFormat f;
    Heard h;
    if (!ParseWave(wave.data(), wave.size(), f) || f.formatTag != 1 || f.channels != 1 ||
        f.bitsPerSample != 16 || f.blockAlign != 2 || wave.size() != 44 + f.samples.size())
        return h;
    const std::size_t n = f.samples.size() / 2, edge = f.samplesPerSecond / 1000;
    int sign = 0, changes = -1;
    std::size_t first = 0, last = 0; // the first and last crossing
    for (std::size_t i = 0; i < n; ++i) {
        std::int16_t s;
        std::memcpy(&s, &f.samples[2 * i], 2);
        h.peak = std::max(h.peak, std::abs(int{s}));
        h.edges = i < edge || i + edge >= n ? std::max(h.edges, std::abs(int{s})) : h.edges;
        if (s != 0 && (s > 0 ? 1 : -1) != sign) {
            sign = s > 0 ? 1 : -1;
            first = ++changes == 1 ? i : first;
            last = i;
        }
    }
    h.ms = 1000.0 * static_cast<double>(n) / f.samplesPerSecond;
    if (changes > 1)
        h.hertz = (changes - 1) / 2.0 * f.samplesPerSecond / static_cast<double>(last - first);
    return h;
}

} // namespace

TEST(MeterSound, PitchRisesASemitoneEvery3DbAndStopsAtBothEnds) {
    const double semitone = std::exp2(1.0 / 12) - 1e-9;
    for (LONG rssi = -130; rssi <= 20; ++rssi) {
        SCOPED_TRACE(rssi);
        EXPECT_LE(Pitch(rssi + 1) / Pitch(rssi), semitone + 1e-6) << "at most a step";
        if (rssi >= -100 && rssi < -10)
            EXPECT_GE(Pitch(std::min(rssi + 3, -10)) / Pitch(rssi), semitone);
        else
            EXPECT_EQ(Pitch(rssi + 1), Pitch(rssi)) << "clamped";
    }
    EXPECT_GE(Pitch(-130), 300) << "heard on a small speaker";
    EXPECT_LE(Pitch(20), 2500) << "not shrill";
}

TEST(MeterSound, TonesAndTheClickAreWholeWavesOfTheirPitchAndLength) {
    const korvyn::platform::ToneShape shapes[] = {
        MeterSound::Tone(0), MeterSound::Tone(MeterSound::kSteps - 1), MeterSound::Click()};
    Heard heard[3];
    for (int i = 0; i < 3; ++i) {
        const auto& shape = shapes[i];
        const Heard h = heard[i] = Listen(korvyn::platform::MakeToneWave(shape));
        EXPECT_NEAR(h.ms, shape.milliseconds, 0.1) << i;
        EXPECT_NEAR(h.hertz, shape.frequency, shape.frequency * 0.02) << i;
        EXPECT_NEAR(h.peak, shape.amplitude * 32767, shape.amplitude * 32767 * 0.05) << i;
    }
    for (const Heard& tone : {heard[0], heard[1]}) {
        EXPECT_LT(tone.edges, tone.peak / 20) << "faded in and out";
        EXPECT_LT(heard[2].hertz * 2, tone.hertz) << "the click sounds lower";
        EXPECT_LT(heard[2].ms * 3, tone.ms) << "and shorter";
    }
}
